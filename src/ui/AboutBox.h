#pragma once
// "About TAVEDWIN": the program's title and version, and a way to the
// desktop's system information viewer.

#include <QDialog>
#include <QStringList>

#include "app/Ports.h"

class QLabel;
class QPushButton;

namespace tav {

class AboutBox : public QDialog {
    Q_OBJECT

public:
    AboutBox(Prompter& prompter, QWidget* parent = nullptr);

    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QPushButton* cmdSysInfo = nullptr;
    QPushButton* cmdOK = nullptr;

    // Viewers tried in order; the first one installed is started.
    static QStringList systemInfoViewers();
    // Starts the first installed viewer; false when none could be started.
    static bool startSystemInfo(const QStringList& viewers = systemInfoViewers());

public slots:
    void cmdSysInfo_Click();

private:
    Prompter& prompter_;
};

}  // namespace tav
