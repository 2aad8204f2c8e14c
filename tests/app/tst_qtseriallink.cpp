// The real serial port on pseudo-terminals, why a port could not be opened, the system clock.

#include <fcntl.h>
#include <grp.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QTemporaryFile>
#include <QtTest>

#include "TestMain.h"
#include "app/QtSerialLink.h"
#include "app/SystemClock.h"

using namespace tav;
using tav::test::textRows;

namespace {
// A pseudo-terminal in raw mode; its device is `name`.
struct Pty {
    int master = -1, slave = -1;
    QString name;
    Pty() {
        char n[256] = {};
        termios raw{};
        cfmakeraw(&raw);
        if (::openpty(&master, &slave, n, &raw, nullptr) == 0) name = QString::fromLocal8Bit(n);
    }
    ~Pty() { close(); }
    void close() {
        if (master >= 0) ::close(master), ::close(slave);
        master = slave = -1;
    }
};
}  // namespace

class TestQtSerialLink : public QObject {
    Q_OBJECT

private slots:
    // Name|kind (0: missing, 1: no permission, 2: in use)|what is known|the reason.
    void reasons_data() {
        textRows(
            "missing, others present|0|/dev/ttyS0,/dev/ttyUSB1|/dev/ttyUSB0 does not exist. Serial "
            "devices on this computer: /dev/ttyS0, /dev/ttyUSB1.;"
            "missing, none present|0||/dev/ttyUSB0 does not exist. No serial device was found on "
            "this computer.;"
            "denied, group known|1|dialout|No permission to use /dev/ttyUSB0. The members of the "
            "group \"dialout\" may use it: add your user to that group (sudo usermod -aG dialout "
            "$USER), then log out and in again.;"
            "denied, root's only|1|root|No permission to use /dev/ttyUSB0.;"
            "in use, holder known|2|minicom (process 4242)|/dev/ttyUSB0 is in use by another "
            "program: minicom (process 4242).;"
            "in use, holder unknown|2||/dev/ttyUSB0 is in use by another program.");
    }
    void reasons() {
        QFETCH(QStringList, row);
        const QString dev = QStringLiteral("/dev/ttyUSB0"), extra = row[2];
        QCOMPARE(row[1] == "0"
                     ? QtSerialLink::noSuchDeviceReason(dev, extra.split(u',', Qt::SkipEmptyParts))
                 : row[1] == "1" ? QtSerialLink::permissionReason(dev, extra)
                                 : QtSerialLink::inUseReason(dev, extra),
                 row[3]);
    }

    void groupOfADevice() {
        QTemporaryFile f;
        const struct group* g = ::getgrgid(::getegid());
        QVERIFY(f.open() && g);
        QCOMPARE(QtSerialLink::deviceGroup(f.fileName()), QString::fromLocal8Bit(g->gr_name));
        QCOMPARE(QtSerialLink::deviceGroup(QStringLiteral("/dev/tav-no-such-port")), QString());
    }

    void missingDevice() {
        for (const QString& device : {QStringLiteral("/dev/tav-no-such-port"), QString()}) {
            QtSerialLink port(device);
            QVERIFY(!port.open() && !port.isOpen() && !QtSerialLink::isPresent(device));
            QCOMPARE(port.lastOpenFailure(), OpenFailure::NoSuchDevice);
            QVERIFY(port.lastOpenError().startsWith(
                device.isEmpty() ? "" : device + " does not exist."));
            QVERIFY(!port.lastOpenError().isEmpty());
        }
    }

    void portInUseNamesItsHolder() {
        Pty pty;
        QtSerialLink first(pty.name), second(pty.name);
        QVERIFY(QtSerialLink::isPresent(pty.name) && first.open() && !second.open());
        QCOMPARE(second.lastOpenFailure(), OpenFailure::InUse);
        const QString pid = QString::number(QCoreApplication::applicationPid());
        QVERIFY2(second.lastOpenError().contains(QStringLiteral("(process %1)").arg(pid)),
                 qPrintable(second.lastOpenError()));
        first.close();
        QVERIFY(second.open());
    }

    // A device that disappears while open makes waits time out; nothing
    // crashes and nothing spins.
    void vanishingDevice() {
        Pty pty;
        QtSerialLink port(pty.name);
        QVERIFY(port.open());
        pty.close();
        port.writeByte(0x01);
        port.waitForInput(0.2);
        port.waitForInput(0.2);
        QVERIFY(port.waitingCount() == 0 && !port.isOpen());
        port.writeByte(0x01);
        port.discardInput();
        QCOMPARE(int(port.readByte()), 0);
    }

    // Lower bounds only: the machine may be slow, never early.
    void clockWaitsAndServesEvents() {
        SystemClock clock;
        bool fired = false;
        QTimer::singleShot(5, [&] { fired = true; });
        const double start = clock.now();
        clock.idleUntil(start + 0.05);
        QVERIFY(fired && clock.now() - start >= 0.05);
        clock.sleepBlocking(30);
        QVERIFY(clock.now() - start >= 0.08);
    }
};

TAV_TEST_GUILESS(TestQtSerialLink);
#include "tst_qtseriallink.moc"
