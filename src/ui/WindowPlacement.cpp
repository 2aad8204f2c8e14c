#include "ui/WindowPlacement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "app/Settings.h"

namespace tav {

namespace {

constexpr double kFallbackDpi = 96.0;

double screenDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() : kFallbackDpi;
}

QRect primaryArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

QPoint centredOn(const QRect& area, const QSize& frame) {
    return area.topLeft() + QPoint(std::max(0, (area.width() - frame.width()) / 2),
                                   std::max(0, (area.height() - frame.height()) / 2));
}

}  // namespace

int twipsToPixels(double twips, double dotsPerInch) {
    return static_cast<int>(std::lround(twips * dotsPerInch / kTwipsPerInch));
}

double pixelsToTwips(int pixels, double dotsPerInch) {
    return std::nearbyint(pixels * kTwipsPerInch / dotsPerInch);
}

bool OnSomeScreen(const QPoint& topLeft, const QSize& frame) {
    // The title bar must be reachable: a strip along the top of the frame.
    const QRect strip(topLeft, QSize(frame.width(), std::min(frame.height(), 24)));
    for (const QScreen* s : QGuiApplication::screens()) {
        const QRect seen = strip.intersected(s->availableGeometry());
        if (seen.width() >= std::min(48, strip.width()) && seen.height() >= strip.height() / 2)
            return true;
    }
    return false;
}

double CentredTwips(int screenPixels, int windowPixels, double dotsPerInch) {
    const double diff = std::nearbyint((screenPixels - windowPixels) * kTwipsPerInch / dotsPerInch);
    return std::trunc(diff / 2);
}

QPoint SavedWindowPosition(const Settings& settings, const QString& section, const QString& topKey,
                           const QString& leftKey, const QSize& frame) {
    const QRect area = primaryArea();
    const QPoint centred = centredOn(area, frame);
    const double dpi = screenDpi();
    const double top =
        settings.number(section, topKey, CentredTwips(area.height(), frame.height(), dpi));
    const double left =
        settings.number(section, leftKey, CentredTwips(area.width(), frame.width(), dpi));
    const QPoint place(twipsToPixels(left, dpi), twipsToPixels(top, dpi));
    return OnSomeScreen(place, frame) ? place : centred;
}

void RestoreWindowPosition(QWidget& window, const Settings& settings, const QString& section,
                           const QString& topKey, const QString& leftKey) {
    window.move(
        SavedWindowPosition(settings, section, topKey, leftKey, window.frameGeometry().size()));
}

int twipsToScreenPixels(double twips) { return twipsToPixels(twips, screenDpi()); }

void SaveWindowPosition(const QWidget& window, Settings& settings, const QString& section,
                        const QString& topKey, const QString& leftKey) {
    const double dpi = screenDpi();
    const QPoint at = window.frameGeometry().topLeft();
    settings.saveNumber(section, topKey, pixelsToTwips(at.y(), dpi));
    settings.saveNumber(section, leftKey, pixelsToTwips(at.x(), dpi));
}

void CentreOnScreen(QWidget& window) {
    window.move(centredOn(primaryArea(), window.frameGeometry().size()));
}

}  // namespace tav
