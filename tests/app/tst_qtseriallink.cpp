// The real serial-port code against the virtual radio served on a
// pseudo-terminal in a thread of this process, and the system clock.

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QtTest>
#include <thread>

#include "TestSupport.h"
#include "app/QtSerialLink.h"
#include "app/SystemClock.h"
#include "radio/clsTavCom.h"
#include "sim/PtyRadioServer.h"

using namespace tav;
using namespace tav::test;

namespace {

// A virtual radio served on a pseudo-terminal by a background thread.
class ServedRadio {
public:
    explicit ServedRadio(bool timing) : server_(radio, timing) {
        for (int a = 0; a < kEEPromSize; ++a) radio.eeprom()[a] = uint8_t(a ^ (a >> 8));
        ok_ = server_.open() && ::pipe(stop_) == 0;
        if (ok_) thread_ = std::thread([this] { server_.run(stop_[0]); });
    }
    ~ServedRadio() {
        if (thread_.joinable()) {
            const char c = 0;
            const ssize_t n = ::write(stop_[1], &c, 1);
            (void)n;
            thread_.join();
        }
        for (int fd : stop_)
            if (fd >= 0) ::close(fd);
    }
    bool ok() const { return ok_; }
    QString path() const { return server_.slavePath(); }

    sim::VirtualRadio radio;  // touched by the server thread only while it runs

private:
    sim::PtyRadioServer server_;
    int stop_[2] = {-1, -1};
    bool ok_ = false;
    std::thread thread_;
};

struct Link {
    AppState state;
    QtSerialLink port;
    SystemClock clock;
    ScriptedPrompter prompter;
    NullProgress progress;
    clsTavCom com{LinkContext{state, port, clock, prompter, progress}};
    explicit Link(const QString& path) : port(path) {}
};

}  // namespace

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

    void portInUse() {
        ServedRadio served(false);
        QVERIFY(served.ok());
        QtSerialLink first(served.path()), second(served.path());
        QVERIFY(first.open());
        QVERIFY(!second.open());
        QCOMPARE(second.lastOpenFailure(), OpenFailure::InUse);
        // The holder is this very process.
        const QString pid = QString::number(QCoreApplication::applicationPid());
        QVERIFY2(second.lastOpenError().contains(QStringLiteral("(process %1)").arg(pid)),
                 qPrintable(second.lastOpenError()));
        first.close();
        QVERIFY(second.open());
    }

    void readAndWriteWords_data() {
        QTest::addColumn<bool>("timing");
        QTest::newRow("untimed") << false;
        QTest::newRow("timed") << true;
    }
    void readAndWriteWords() {
        QFETCH(bool, timing);
        ServedRadio served(timing);
        QVERIFY(served.ok());
        Link link(served.path());
        QVERIFY(link.com.Hook());
        Word w{};
        QVERIFY(link.com.ReadEEWord(0x345, w));
        QCOMPARE(int(w[0]), (0x345 ^ 3) & 0xFF);
        QCOMPARE(int(w[1]), (0x346 ^ 3) & 0xFF);
        link.com.setPageWritable(6, false);
        QVERIFY(link.com.WriteEEWord(0x344, 0xDE, 0xAD));
        QVERIFY(link.com.ReadEEWord(0x344, w));
        QCOMPARE(int(w[0]), 0xDE);
        QCOMPARE(int(w[1]), 0xAD);
        link.com.UnHook();
        QVERIFY(!link.port.isOpen());
        QVERIFY(link.prompter.shown.isEmpty());
    }

    // The server reads the speed the editor set: at 9600 the radio, still at
    // 4800, hears only garbage and does not answer.
    void wrongSpeedIsNotHeard() {
        ServedRadio served(false);
        QVERIFY(served.ok());
        Link link(served.path());
        link.port.setBaudRate(9600);
        QVERIFY(link.com.OpenComm());
        for (uint8_t b : {0x00, 0x00, 0x0A, 0x14, 0x28}) link.port.writeByte(b);
        link.com.Timeout = 0.3f;
        uint8_t c = 0;
        QVERIFY(!link.com.WaitForComChar(c));
        link.port.setBaudRate(4800);
        link.com.Timeout = 0.5f;
        QVERIFY(link.com.Hook());
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

QTEST_GUILESS_MAIN(TestQtSerialLink)
#include "tst_qtseriallink.moc"
