// `tavctl sim` served on a pseudo-terminal and driven through the real serial
// port code, as the editor and the benchmarks use it.

#include <QTemporaryFile>
#include <QtTest>

#include "TestMain.h"
#include "E2eSupport.h"
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

QByteArray imageBytes(int size) {
    QByteArray b(size, 0);
    for (int i = 0; i < size; ++i) b[i] = char((i * 13 + (i >> 7)) & 0xFF);
    return b;
}

}  // namespace

class TestSimPty : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(!tavctlPath().isEmpty(), "TAVCTL is not set"); }

    void readsAndWritesTheLoadedImage() {
        QTemporaryFile image;
        QVERIFY(image.open());
        const QByteArray content = imageBytes(kEEImageSize + 6184);  // a whole radio file
        image.write(content);
        image.flush();

        Simulator sim({QStringLiteral("--image"), image.fileName()});
        QVERIFY(sim.device.startsWith(QLatin1String("/dev/")));
        Link link(sim.device);
        QVERIFY(link.com.Hook());
        std::array<uint8_t, kEEPromSize> buf{};
        QVERIFY(link.com.ReadEEBytes(0, buf.data(), kEEPromSize));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(buf.data()), kEEPromSize),
                 content.left(kEEPromSize));

        // Page 5 unconfigured: the word goes out whole; page 0 offset 6 is merged.
        QVERIFY(link.com.WriteEEWord(0x2A0, 0x12, 0x34));
        QVERIFY(link.com.WriteEEWord(6, 0xFF, 0x00));
        Word w{};
        QVERIFY(link.com.ReadEEWord(6, w));
        QCOMPARE(int(w[0]), 0xF9 | (uint8_t(content[6]) & 0x06));
        QCOMPARE(int(w[1]), 0x00);
        link.com.UnHook();

        // A second session on the same device sees what the first one wrote.
        QVERIFY(link.com.Hook());
        QVERIFY(link.com.ReadEEWord(0x2A0, w));
        QCOMPARE(int(w[0]), 0x12);
        QCOMPARE(int(w[1]), 0x34);
        link.com.UnHook();
        QVERIFY(link.prompter.shown.isEmpty());
    }

    void rejectedIdentity() {
        Simulator sim({QStringLiteral("--id"), QStringLiteral("0x43")});
        Link link(sim.device);
        QVERIFY(!link.com.Hook());
        QCOMPARE(link.prompter.texts(), QStringList{QStringLiteral("Error Hooking to Radio.")});
    }

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

    void usageErrors_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("message");
        QTest::newRow("short image") << QStringList{"--image", "SHORT"} << "2048";
        QTest::newRow("bad id") << QStringList{"--id", "0x1FF"} << "--id";
        QTest::newRow("bad fault") << QStringList{"--fault", "drop-reply=x"} << "drop-reply";
        QTest::newRow("unknown option") << QStringList{"--fast"} << "--fast";
    }
    void usageErrors() {
        QFETCH(QStringList, options);
        QFETCH(QString, message);
        QTemporaryFile shortImage;
        QVERIFY(shortImage.open());
        shortImage.write(imageBytes(2047));
        shortImage.flush();
        options.replaceInStrings(QStringLiteral("SHORT"), shortImage.fileName());
        const Run r = tavctl(QStringList{QStringLiteral("sim")} + options);
        QCOMPARE(r.status, 2);
        QVERIFY(r.out.isEmpty());
        QVERIFY(r.err.contains(message));
    }
};

TAV_TEST_GUILESS(TestSimPty);
#include "tst_simpty.moc"
