#include "ui/AboutBox.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

#include "app/AppInfo.h"
#include "ui/Artwork.h"

namespace tav {

AboutBox::AboutBox(Prompter& prompter, QWidget* parent) : QDialog(parent), prompter_(prompter) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About TAVEDWIN"));
    auto* picture = new QLabel(this);
    picture->setPixmap(artwork::radioPicture(64, devicePixelRatioF()));
    lblTitle = new QLabel(appTitle(), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont big = lblTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    lblTitle->setFont(big);
    lblVersion = new QLabel(QStringLiteral("Version ") + appVersion(), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    auto* blurb = new QLabel(
        QStringLiteral("Reads, edits and writes the programmable memory of TAV series radios."),
        this);
    blurb->setWordWrap(true);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));

    auto* g = new QGridLayout(this);
    g->setContentsMargins(16, 16, 16, 12);
    g->setHorizontalSpacing(16);
    g->addWidget(picture, 0, 0, 3, 1, Qt::AlignTop);
    g->addWidget(lblTitle, 0, 1);
    g->addWidget(lblVersion, 1, 1);
    g->addWidget(blurb, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    g->addLayout(buttons, 3, 0, 1, 2);
    g->setColumnMinimumWidth(1, fontMetrics().horizontalAdvance(QLatin1Char('x')) * 40);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &AboutBox::cmdSysInfo_Click);
}

QStringList AboutBox::systemInfoViewers() {
    return {QStringLiteral("hardinfo"),
            QStringLiteral("hardinfo2"),
            QStringLiteral("gnome-system-monitor"),
            QStringLiteral("ksysguard"),
            QStringLiteral("plasma-systemmonitor"),
            QStringLiteral("xfce4-taskmanager"),
            QStringLiteral("lxtask"),
            QStringLiteral("mate-system-monitor")};
}

bool AboutBox::startSystemInfo(const QStringList& viewers) {
    for (const QString& name : viewers) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty() && QProcess::startDetached(path, {})) return true;
    }
    return false;
}

void AboutBox::cmdSysInfo_Click() {
    if (!startSystemInfo())
        prompter_.show(QStringLiteral("System Information Is Unavailable At This Time"), QString(),
                       MsgButtons::Ok, MsgIcon::Exclamation);
}

}  // namespace tav
