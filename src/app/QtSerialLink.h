#pragma once
// The serial line through QSerialPort: 4800 or 9600 baud, 8N1, no flow
// control; modem-control lines are left alone (they fail on a
// pseudo-terminal and the radio needs none).
//
// Waiting sleeps in the kernel inside a local event loop, so the window stays
// live and a byte is seen within microseconds of its arrival. A device that
// vanishes while open (a pulled USB adapter, a simulator that ended) is
// closed quietly: later waits simply time out.

#include <QObject>
#include <QSerialPort>
#include <QString>

#include "app/Ports.h"

namespace tav {

class QtSerialLink : public QObject, public SerialLink {
    Q_OBJECT
public:
    explicit QtSerialLink(const QString& device = QString(), QObject* parent = nullptr);
    ~QtSerialLink() override;

    // The device path (e.g. /dev/ttyS0, /dev/pts/3).
    QString device() const { return device_; }
    // A sentence added to the reason when the device does not exist: what
    // the program offers instead.
    void setMissingDeviceAdvice(const QString& advice) { missingAdvice_ = advice; }

    bool isOpen() const override { return port_.isOpen(); }
    bool open() override;
    void close() override;
    OpenFailure lastOpenFailure() const override { return failure_; }
    QString lastOpenError() const override { return error_; }
    void setBaudRate(int baud) override;
    int baudRate() const override { return baud_; }
    void writeByte(uint8_t b) override;
    int waitingCount() override;
    uint8_t readByte() override;
    void discardInput() override;
    void waitForInput(double seconds) override;

    // The reasons an open failed, as the "Unable to open Comm Port" box
    // explains them: the devices that do exist, the group that grants access,
    // the program that holds the device (each may be empty when unknown).
    static QString noSuchDeviceReason(const QString& path, const QStringList& present);
    static QString permissionReason(const QString& path, const QString& group);
    static QString inUseReason(const QString& path, const QString& holder);
    // The serial devices of this computer; the group owning a device; the
    // program ("name (process N)") that has a device open.
    static QStringList presentDevices();
    // Whether a device is there to be opened: one of the serial devices (a
    // link such as /dev/serial/by-id/... counting as its target), or a
    // pseudo-terminal, which that list leaves out (tavctl sim serves one).
    static bool isPresent(const QString& device);
    static QString deviceGroup(const QString& path);
    static QString deviceHolder(const QString& path);

private:
    void applyLineSettings();
    void classifyOpenFailure();
    void onError(QSerialPort::SerialPortError error);

    QSerialPort port_;
    QString device_;
    int baud_ = 4800;
    int sessions_ = 0;  // counts opens, so a late close never hits a newer session
    OpenFailure failure_ = OpenFailure::None;
    QString error_;
    QString missingAdvice_;
};

}  // namespace tav
