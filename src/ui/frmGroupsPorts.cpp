// The main window's serial line: the port chosen at start and in the Config
// menu, the serial trace wrapped around it, and the backup folder.

#include <QAction>
#include <QDate>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "ui/RadioCommands.h"
#include "ui/frmGroups.h"

namespace tav {

namespace {

// A device by the path it resolves to, so that a link and its target match.
QString canonicalDevice(const QString& path) {
    const QString target = QFileInfo(path).canonicalFilePath();
    return target.isEmpty() ? path : target;
}

QString traceCaption(const QString& path) {
    return QStringLiteral("Trace File: ") + QDir::toNativeSeparators(path);
}

}  // namespace

int frmGroups::initialPort() const {
    // The virtual radio only when the user chose it: taken for a radio, its
    // simulated reads and successful writes would mislead.
    const Settings& settings = services_.settings;
    if (settings.flag(kComm, QStringLiteral("Virtual"), false)) return kVirtualRadioPort;
    return settings.commPort();
}

void frmGroups::refreshPortItems() {
    // Made again at every opening of the menu, so that an adapter plugged in
    // meanwhile shows as present.
    for (int port = 1; port <= 4; ++port) {
        const QString device = services_.settings.portDevice(port);
        const bool present = services_.deviceExists && services_.deviceExists(device);
        mnuCommPort[port]->setText(
            portCaption(port, present ? device : device + QStringLiteral(", not present")));
    }
}

QString frmGroups::portCaption(int port, const QString& device) {
    if (port == kVirtualRadioPort) return QStringLiteral("Virtual radio");
    return QStringLiteral("Use Comm Port %1 (%2)").arg(port).arg(device);
}

void frmGroups::dropLink() {
    // The radio link and the trace hold the port: they go before it changes.
    radio_->portChanging();
    trace_.stop();
}

void frmGroups::selectPort(int port) {
    dropLink();
    if (comm_ && comm_->isOpen()) comm_->close();
    comm_.reset();
    CommPort = port;
    if (services_.openPort) comm_ = services_.openPort(port);
    mnuCommPort[static_cast<std::size_t>(port)]->setChecked(true);
    setCaption(caption_);
    applyFleetLock();
}

void frmGroups::setFleetDevices(const QStringList& devices) {
    fleetDevices_.clear();
    for (const QString& d : devices) fleetDevices_ << canonicalDevice(d);
    applyFleetLock();
}

void frmGroups::applyFleetLock() {
    // A transfer's guard puts its commands back when it ends, and calls again.
    if (transferRunning()) return;
    const bool busy =
        CommPort != kVirtualRadioPort &&
        fleetDevices_.contains(canonicalDevice(services_.settings.portDevice(CommPort)));
    for (QAction* a :
         {mnuRead, mnuReadGlobal, mnuReadGroup, mnuWriteAll, mnuWriteGlobal, mnuWriteGroup,
          mnuReadCurrGroup, mnuWriteCurrGroup, mnuCompare, mnuLabelRdGroup, mnuLabelRdRadio,
          mnuLabelWrtGroup, mnuLabelWrtRadio, mnuTune})
        if (a) a->setEnabled(!busy);
}

SerialLink* frmGroups::activeLink() {
    if (!comm_ || !traceOn_) return comm_.get();
    if (!trace_.link()) {
        const QString path = SerialTraceFile::pathFor(QDate::currentDate());
        const QString port =
            portCaption(CommPort, services_.settings.portDevice(CommPort)).remove(QLatin1Char('&'));
        QString why;
        if (!trace_.start(*comm_, services_.clock, path, port, &why)) {
            services_.prompter.show(QStringLiteral("The serial trace could not be written."),
                                    QString(), MsgButtons::Ok, MsgIcon::Exclamation,
                                    path + QStringLiteral(": ") + why);
            return comm_.get();
        }
        mnuTraceFile->setText(traceCaption(path));
    }
    return trace_.link();
}

void frmGroups::setSerialTrace(bool on) {
    dropLink();
    traceOn_ = on;
    mnuSerialTrace->setChecked(on);
    mnuTraceFile->setText(traceCaption(SerialTraceFile::pathFor(QDate::currentDate())));
    mnuTraceFile->setVisible(on);
}

void frmGroups::openBackupFolder() {
    const QString folder = radio_->backups().folder();
    QDir().mkpath(folder);
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
        services_.prompter.show(QStringLiteral("The backup folder could not be opened."), QString(),
                                MsgButtons::Ok, MsgIcon::Exclamation,
                                QDir::toNativeSeparators(folder));
}

}  // namespace tav
