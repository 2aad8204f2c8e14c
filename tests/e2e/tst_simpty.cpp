// `tavctl sim` served on a pseudo-terminal and driven through the real serial
// port code, as the editor and the benchmarks use it.

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QtTest>
#include <csignal>

#include "E2eSupport.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "app/QtSerialLink.h"
#include "app/SystemClock.h"
#include "radio/clsTavCom.h"

using namespace tav;
using namespace tav::test;

namespace {

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

class TestSimPty : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(!tavctlPath().isEmpty(), "TAVCTL is not set"); }

    // The simulator dies in the middle of a full read: the read fails within
    // the usual timeouts and the link reports the port it can no longer open.
    void simulatorKilledMidTransfer() {
        Simulator sim({QStringLiteral("--timing")});
        Link link(sim.device);
        QVERIFY(link.com.Hook());
        QTimer::singleShot(700, &sim.process, [&sim] { sim.process.kill(); });
        std::array<uint8_t, kEEPromSize> buf{};
        QVERIFY(!link.com.ReadEEBytes(0, buf.data(), kEEPromSize));
        QVERIFY(sim.process.state() == QProcess::NotRunning || sim.process.waitForFinished(5000));
        link.com.UnHook();
        QCOMPARE(link.prompter.texts(), QStringList{QStringLiteral("Unable to open Comm Port")});
        QVERIFY(link.com.CommPortError);
    }

    // The simulator reads the speed the editor set: at 9600 the radio, still
    // at 4800, hears only garbage and does not answer.
    void wrongSpeedIsNotHeard() {
        Simulator sim;
        Link link(sim.device);
        link.port.setBaudRate(9600);
        QVERIFY(link.com.OpenComm());
        for (uint8_t b : {0x00, 0x00, 0x0A, 0x14, 0x28}) link.port.writeByte(b);
        uint8_t c = 0;
        QVERIFY(!link.com.WaitForComChar(c));
        link.port.setBaudRate(4800);
        QVERIFY(link.com.Hook());
        QVERIFY(link.prompter.shown.isEmpty());
    }

    // A serving loop that ends on its own says why and fails: here the wait
    // for the line is refused once the simulator may hold no file at all.
    void servingThatFailsSaysWhy() {
        // A leak check at exit would need files of its own.
        const QByteArray sanitizer = qgetenv("ASAN_OPTIONS");
        qputenv("ASAN_OPTIONS", sanitizer + ":detect_leaks=0");
        Simulator sim;
        qputenv("ASAN_OPTIONS", sanitizer);
        const rlimit none{1, 1};
        QCOMPARE(::prlimit(pid_t(sim.process.processId()), RLIMIT_NOFILE, &none, nullptr), 0);
        const int line = ::open(sim.device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        QVERIFY(line >= 0);
        QCOMPARE(::write(line, "\0", 1), 1);
        ::close(line);
        QVERIFY(sim.process.waitForFinished(5000));
        QCOMPARE(sim.process.exitCode(), 1);
        // Only the first line: a sanitizer's runtime has no file left for its own work at exit.
        QCOMPARE(
            sim.process.readAllStandardError().split('\n').value(0),
            QByteArray("tavctl sim: stopped serving: cannot wait for the line: Invalid argument"));
    }

    // A radio that crashes into silence serves on, answering nothing; the
    // simulator says so, and why, rather than seem to have ended.
    void crashIsTold() {
        Simulator sim;
        Link link(sim.device);
        QVERIFY(link.com.Hook());
        link.com.WriteRamByte(0x0D, 0x32);  // a speed the radio does not have
        sim.process.terminate();
        QVERIFY(sim.process.waitForFinished(5000));
        QCOMPARE(sim.process.readAllStandardError(),
                 QByteArray("tavctl sim: the virtual radio crashed (baud register written with "
                            "0x32); it answers nothing more until the simulator is restarted\n"));
    }

    // Started in a script's background, where SIGINT is ignored, the simulator
    // outlives a Ctrl-C meant for the write in the foreground; SIGTERM still
    // stops it, without a word.
    void interruptIgnoredOnEntryKeepsServing() {
        Simulator sim({}, [] { ::signal(SIGINT, SIG_IGN); });
        QCOMPARE(::kill(pid_t(sim.process.processId()), SIGINT), 0);
        QTest::qWait(200);
        Link link(sim.device);
        QVERIFY(link.com.Hook());
        link.com.UnHook();
        sim.process.terminate();
        QVERIFY(sim.process.waitForFinished(5000));
        QCOMPARE(sim.process.exitCode(), 0);
        QCOMPARE(sim.process.readAllStandardError(), QByteArray());
    }
};

TAV_TEST_GUILESS(TestSimPty);
#include "tst_simpty.moc"
