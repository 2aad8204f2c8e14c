// The real serial-port code on pseudo-terminals, why a port could not be
// opened (in words the user can act on), and the system clock. The
// end-to-end tests drive the port against the simulator.

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
    void reasons_data() {
        QTest::addColumn<int>("kind");  // 0: missing, 1: no permission, 2: in use
        QTest::addColumn<QString>("extra");
        QTest::addColumn<QString>("reason");
        const auto row = [](const char* name, int kind, const char* extra, const char* reason) {
            QTest::newRow(name) << kind << extra << QString::fromLatin1(reason);
        };
        row("missing, others present", 0, "/dev/ttyS0|/dev/ttyUSB1",
            "/dev/ttyUSB0 does not exist. Serial devices on this computer: /dev/ttyS0, "
            "/dev/ttyUSB1.");
        row("missing, none present", 0, "",
            "/dev/ttyUSB0 does not exist. No serial device was found on this computer.");
        row("denied, group known", 1, "dialout",
            "No permission to use /dev/ttyUSB0. The members of the group \"dialout\" may use it: "
            "add your user to that group (sudo usermod -aG dialout $USER), then log out and in "
            "again.");
        row("denied, root's only", 1, "root", "No permission to use /dev/ttyUSB0.");
        row("in use, holder known", 2, "minicom (process 4242)",
            "/dev/ttyUSB0 is in use by another program: minicom (process 4242).");
        row("in use, holder unknown", 2, "", "/dev/ttyUSB0 is in use by another program.");
    }
    void reasons() {
        QFETCH(int, kind);
        QFETCH(QString, extra);
        QFETCH(QString, reason);
        const QString dev = QStringLiteral("/dev/ttyUSB0");
        const QString made = kind == 0 ? QtSerialLink::noSuchDeviceReason(
                                             dev, extra.split(QLatin1Char('|'), Qt::SkipEmptyParts))
                             : kind == 1 ? QtSerialLink::permissionReason(dev, extra)
                                         : QtSerialLink::inUseReason(dev, extra);
        QCOMPARE(made, reason);
    }

    void groupOfADevice() {
        QTemporaryFile f;
        QVERIFY(f.open());
        const struct group* g = ::getgrgid(::getegid());
        QVERIFY(g);
        QCOMPARE(QtSerialLink::deviceGroup(f.fileName()), QString::fromLocal8Bit(g->gr_name));
        QCOMPARE(QtSerialLink::deviceGroup(QStringLiteral("/dev/tav-no-such-port")), QString());
    }

    void missingDevice_data() {
        QTest::addColumn<QString>("device");
        QTest::newRow("no such file") << "/dev/tav-no-such-port";
        QTest::newRow("none configured") << "";
    }
    void missingDevice() {
        QFETCH(QString, device);
        QtSerialLink port(device);
        QVERIFY(!port.open());
        QVERIFY(!port.isOpen() && !QtSerialLink::isPresent(device));
        QCOMPARE(port.lastOpenFailure(), OpenFailure::NoSuchDevice);
        QVERIFY(
            port.lastOpenError().startsWith(device.isEmpty() ? "" : device + " does not exist."));
        QVERIFY(!port.lastOpenError().isEmpty());
    }

    void portInUseNamesItsHolder() {
        Pty pty;
        QtSerialLink first(pty.name), second(pty.name);
        QVERIFY(QtSerialLink::isPresent(pty.name));
        QVERIFY(first.open());
        QVERIFY(!second.open());
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
