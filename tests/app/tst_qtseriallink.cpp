// The real serial-port code on pseudo-terminals, and the system clock. The
// end-to-end tests drive it against the simulator.

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QtTest>

#include "TestMain.h"
#include "app/QtSerialLink.h"
#include "app/SystemClock.h"

using namespace tav;

class TestQtSerialLink : public QObject {
    Q_OBJECT

private slots:
    void missingDevice_data() {
        QTest::addColumn<QString>("device");
        QTest::newRow("no such file") << "/dev/tav-no-such-port";
        QTest::newRow("none configured") << "";
    }
    void missingDevice() {
        QFETCH(QString, device);
        QtSerialLink port(device);
        QVERIFY(!port.open());
        QVERIFY(!port.isOpen());
        QCOMPARE(port.lastOpenFailure(), OpenFailure::NoSuchDevice);
        if (device.isEmpty())
            QVERIFY(!port.lastOpenError().isEmpty());
        else
            QCOMPARE(port.lastOpenError(),
                     QtSerialLink::noSuchDeviceReason(device, QtSerialLink::presentDevices()));
    }

    void portInUseNamesItsHolder() {
        int master = -1, slave = -1;
        char name[256] = {};
        QCOMPARE(::openpty(&master, &slave, name, nullptr, nullptr), 0);
        {
            QtSerialLink first(QString::fromLocal8Bit(name)), second(first.device());
            QVERIFY(first.open());
            QVERIFY(!second.open());
            QCOMPARE(second.lastOpenFailure(), OpenFailure::InUse);
            const QString pid = QString::number(QCoreApplication::applicationPid());
            QVERIFY2(second.lastOpenError().contains(QStringLiteral("(process %1)").arg(pid)),
                     qPrintable(second.lastOpenError()));
            first.close();
            QVERIFY(second.open());
        }
        ::close(slave);
        ::close(master);
    }

    // A device that disappears while open makes waits time out; nothing
    // crashes and nothing spins.
    void vanishingDevice() {
        int master = -1, slave = -1;
        char name[256] = {};
        termios raw{};
        cfmakeraw(&raw);
        QCOMPARE(openpty(&master, &slave, name, &raw, nullptr), 0);
        QtSerialLink port(QString::fromLocal8Bit(name));
        QVERIFY(port.open());
        ::close(slave);
        ::close(master);
        port.writeByte(0x01);
        port.waitForInput(0.2);
        port.waitForInput(0.2);
        QCOMPARE(port.waitingCount(), 0);
        QVERIFY(!port.isOpen());
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
        QVERIFY(fired);
        QVERIFY(clock.now() - start >= 0.05);
        clock.sleepBlocking(30);
        QVERIFY(clock.now() - start >= 0.08);
    }
};

TAV_TEST_GUILESS(TestQtSerialLink);
#include "tst_qtseriallink.moc"
