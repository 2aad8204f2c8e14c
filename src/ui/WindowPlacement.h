#pragma once
// Window positions are kept in the settings in twips, 1440 to the inch; the
// screen is measured in pixels at its logical resolution.

#include <QPoint>
#include <QSize>
#include <QString>

class QWidget;

namespace tav {

class Settings;

constexpr double kTwipsPerInch = 1440.0;

int twipsToPixels(double twips, double dotsPerInch);
double pixelsToTwips(int pixels, double dotsPerInch);

// The default place of a window: the screen size less the window size, in
// whole twips (ties to even), halved with the fraction dropped.
double CentredTwips(int screenPixels, int windowPixels, double dotsPerInch);
// A length in twips on the primary screen.
int twipsToScreenPixels(double twips);

// Where a window of frame size `frame` goes: the top-left frame corner stored
// under section/topKey and section/leftKey, centred on the primary screen when
// a value is missing, and on the primary screen too when the stored place is
// off every screen (saved on a larger desktop, a monitor since unplugged).
QPoint SavedWindowPosition(const Settings& settings, const QString& section, const QString& topKey,
                           const QString& leftKey, const QSize& frame);
void RestoreWindowPosition(QWidget& window, const Settings& settings, const QString& section,
                           const QString& topKey, const QString& leftKey);
void SaveWindowPosition(const QWidget& window, Settings& settings, const QString& section,
                        const QString& topKey, const QString& leftKey);

// Whether enough of a frame lies on some screen for the user to grab it.
bool OnSomeScreen(const QPoint& topLeft, const QSize& frame);

// Centres a window on the primary screen.
void CentreOnScreen(QWidget& window);

}  // namespace tav
