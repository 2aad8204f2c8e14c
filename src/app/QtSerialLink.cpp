#include "app/QtSerialLink.h"

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <QTimer>
#include <cmath>

namespace tav {

QtSerialLink::QtSerialLink(const QString& device, QObject* parent)
    : QObject(parent), device_(device) {
    connect(&port_, &QSerialPort::errorOccurred, this, &QtSerialLink::onError);
}

QtSerialLink::~QtSerialLink() = default;

bool QtSerialLink::open() {
    failure_ = OpenFailure::None;
    error_.clear();
    if (port_.isOpen()) return true;
    port_.setPortName(device_);
    if (!port_.open(QIODevice::ReadWrite)) {
        classifyOpenFailure();
        return false;
    }
    ++sessions_;
    applyLineSettings();
    port_.clear();
    return true;
}

void QtSerialLink::close() {
    if (port_.isOpen()) port_.close();
}

void QtSerialLink::applyLineSettings() {
    port_.setBaudRate(baud_);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
}

void QtSerialLink::classifyOpenFailure() {
    const QString path = port_.portName().startsWith(QLatin1Char('/'))
                             ? port_.portName()
                             : QStringLiteral("/dev/") + port_.portName();
    const QByteArray native = QFile::encodeName(path);
    if (device_.isEmpty() || !QFileInfo::exists(path) ||
        port_.error() == QSerialPort::DeviceNotFoundError) {
        failure_ = OpenFailure::NoSuchDevice;
        error_ = device_.isEmpty() ? QStringLiteral("No serial device is configured.")
                                   : noSuchDeviceReason(path, presentDevices());
        if (!missingAdvice_.isEmpty()) error_ += QLatin1Char(' ') + missingAdvice_;
    } else if (::access(native.constData(), R_OK | W_OK) != 0) {
        failure_ = OpenFailure::PermissionDenied;
        error_ = permissionReason(path, deviceGroup(path));
    } else if (port_.error() == QSerialPort::PermissionError) {
        // Readable and writable, yet refused: another program holds it.
        failure_ = OpenFailure::InUse;
        error_ = inUseReason(path, deviceHolder(path));
    } else {
        failure_ = OpenFailure::Other;
        error_ = QStringLiteral("%1 could not be opened: %2").arg(path, port_.errorString());
    }
}

QString QtSerialLink::noSuchDeviceReason(const QString& path, const QStringList& present) {
    const QString missing = QStringLiteral("%1 does not exist.").arg(path);
    if (present.isEmpty())
        return missing + QStringLiteral(" No serial device was found on this computer.");
    return missing + QStringLiteral(" Serial devices on this computer: %1.")
                         .arg(present.join(QStringLiteral(", ")));
}

QString QtSerialLink::permissionReason(const QString& path, const QString& group) {
    const QString denied = QStringLiteral("No permission to use %1.").arg(path);
    if (group.isEmpty() || group == QLatin1String("root")) return denied;
    return denied + QStringLiteral(
                        " The members of the group \"%1\" may use it: add your user to that "
                        "group (sudo usermod -aG %1 $USER), then log out and in again.")
                        .arg(group);
}

QString QtSerialLink::inUseReason(const QString& path, const QString& holder) {
    if (holder.isEmpty()) return QStringLiteral("%1 is in use by another program.").arg(path);
    return QStringLiteral("%1 is in use by another program: %2.").arg(path, holder);
}

QStringList QtSerialLink::presentDevices() {
    QStringList out;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        out << info.systemLocation();
    out.sort();
    return out;
}

bool QtSerialLink::isPresent(const QString& device) {
    const QString target = QFileInfo(device).canonicalFilePath();
    if (target.isEmpty()) return false;
    return target.startsWith(QLatin1String("/dev/pts/")) || presentDevices().contains(target);
}

QString QtSerialLink::deviceGroup(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return {};
    const struct group* g = ::getgrgid(st.st_gid);
    return g ? QString::fromLocal8Bit(g->gr_name) : QString();
}

QString QtSerialLink::deviceHolder(const QString& path) {
    // Every process whose descriptors this user may look at; others stay unknown.
    const QString target = QFileInfo(path).canonicalFilePath();
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& pid : pids) {
        bool numeric = false;
        pid.toLong(&numeric);
        if (!numeric) continue;
        const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
        for (const QString& fd : fds.entryList(QDir::System | QDir::NoDotAndDotDot)) {
            if (QFileInfo(fds.filePath(fd)).symLinkTarget() != target) continue;
            QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
            const QString name = comm.open(QIODevice::ReadOnly)
                                     ? QString::fromLocal8Bit(comm.readAll()).trimmed()
                                     : QString();
            return name.isEmpty() ? QStringLiteral("process %1").arg(pid)
                                  : QStringLiteral("%1 (process %2)").arg(name, pid);
        }
    }
    return {};
}

void QtSerialLink::onError(QSerialPort::SerialPortError error) {
    // A pseudo-terminal whose other side closed reports read errors, a
    // pulled adapter resource errors; either way the device is gone, and its
    // reader would fire without end. Close it from the event loop rather than
    // from inside the port's own notification.
    if (!port_.isOpen() || (error != QSerialPort::ResourceError && error != QSerialPort::ReadError))
        return;
    QTimer::singleShot(0, this, [this, session = sessions_] {
        if (port_.isOpen() && session == sessions_) port_.close();
    });
}

void QtSerialLink::setBaudRate(int baud) {
    baud_ = baud;
    if (port_.isOpen()) port_.setBaudRate(baud_);
}

void QtSerialLink::writeByte(uint8_t b) {
    if (!port_.isOpen()) return;
    const char c = static_cast<char>(b);
    port_.write(&c, 1);
    port_.flush();  // out now, not at the next turn of the event loop
}

int QtSerialLink::waitingCount() {
    return port_.isOpen() ? static_cast<int>(port_.bytesAvailable()) : 0;
}

uint8_t QtSerialLink::readByte() {
    char c = 0;
    if (port_.isOpen()) port_.getChar(&c);
    return static_cast<uint8_t>(c);
}

void QtSerialLink::discardInput() {
    if (port_.isOpen()) port_.clear(QSerialPort::Input);
}

void QtSerialLink::waitForInput(double seconds) {
    if (waitingCount() > 0) return;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    if (port_.isOpen()) {
        connect(&port_, &QSerialPort::readyRead, &loop, &QEventLoop::quit);
        connect(&port_, &QSerialPort::errorOccurred, &loop,
                [&loop](QSerialPort::SerialPortError e) {
                    if (e != QSerialPort::NoError) loop.quit();
                });
    }
    // Rounded up: a timer never fires early, so the deadline has passed when it does.
    const double ms = std::ceil(std::max(0.0, seconds) * 1000.0);
    timer.start(static_cast<int>(std::min(ms, 24.0 * 3600 * 1000)));
    loop.exec();
}

}  // namespace tav
