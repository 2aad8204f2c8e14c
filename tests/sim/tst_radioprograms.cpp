// The virtual radio beyond its EEPROM words: the baud register, the loader and
// the label program (exact bytes or silence), the label commands, the factory
// image, and fault items bound to a step of the protocol.

#include <QtTest>

#include "TestMain.h"
#include "TestSupport.h"
#include "sim/RadioImage.h"
#include "sim/VirtualRadio.h"

using namespace tav;
using namespace tav::sim;

namespace {

using Bytes = std::vector<uint8_t>;
using State = VirtualRadio::State;

const Bytes kLoader = {0x9C, 0xAD, 0x10, 0xB7, 0xEC, 0xAD, 0x0C, 0x97, 0xAD, 0x09, 0x5A, 0xE7, 0x55,
                       0x5D, 0x26, 0xF8, 0xBE, 0xEC, 0xFC, 0x0B, 0x10, 0xFD, 0xB6, 0x11, 0x81};

// Drives a radio byte by byte, one millisecond apart, and collects its answers.
struct Wire {
    VirtualRadio radio;
    double t = 0;
    int baud = 4800;

    Bytes send(const Bytes& bytes) {
        for (uint8_t b : bytes) {
            radio.lineIn(b, baud, t);
            t += 0.001 + VirtualRadio::byteTime(baud);
        }
        return collect();
    }
    Bytes collect() {
        t += 0.05;
        Bytes got;
        while (const auto b = radio.takeDue(t, baud)) got.push_back(*b);
        return got;
    }
    void hook() {
        send(Bytes(10, 0x00));
        send({0x0A, 0x14, 0x28});
    }
    void toFast() {
        send({0xD0, 0x0D, 0x30});
        baud = 9600;
        collect();
    }
    void loadLoader(int wrongAt = -1) {
        for (int i = 0; i < 25; ++i)
            send({0xD0, static_cast<uint8_t>(0xE0 + i),
                  static_cast<uint8_t>(kLoader[i] ^ (i == wrongAt ? 0x01 : 0x00))});
    }
    // The label program as the editor downloads it: address, length, last byte first.
    void download(const Bytes& program, uint8_t address = 0x52) {
        Bytes out{address, static_cast<uint8_t>(program.size())};
        out.insert(out.end(), program.rbegin(), program.rend());
        send(out);
    }
};

Bytes labelProgram() {
    const char* hex =
        "9BAD33B750AD2FB7512604B65027 26B65027 10B7523A529D9DAD1BAD50B65226"
        "F41C01B65127DAB7523A52AD15AD2EAD0B1C0120CC810B10FDB611810F10FDB7"
        "1181AD00AD00A604AD034A26FBB7DDA6492004B7DDA6204A26FDB6DD81AE804F"
        "090306ADE15A26F7814CADD04F1D0197ADD0A608ADD71F01080300592402 1E01"
        "1A01ADCF1B014A26EB9F8100";
    const QByteArray bytes = QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
    return Bytes(bytes.begin(), bytes.end());
}

// A radio running the label program at 9600 baud.
void startLabelProgram(Wire& w) {
    w.hook();
    w.toFast();
    w.loadLoader();
    w.send({0xF0, 0xE1});
    w.download(labelProgram());
}

}  // namespace

class TestRadioPrograms : public QObject {
    Q_OBJECT

private slots:
    void baudRegister_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("baud");  // 0: crashed
        QTest::newRow("0x30: 9600") << 0x30 << 9600;
        QTest::newRow("0x31: 4800") << 0x31 << 4800;
        QTest::newRow("0x32: crash") << 0x32 << 0;
    }

    void baudRegister() {
        QFETCH(int, value);
        QFETCH(int, baud);
        Wire w;
        w.hook();
        // The echo still leaves at 4800.
        QCOMPARE(w.send({0xD0, 0x0D, static_cast<uint8_t>(value)}),
                 Bytes{static_cast<uint8_t>(value)});
        if (baud == 0) {
            QCOMPARE(w.radio.state(), State::Crashed);
            QVERIFY(w.send({0xE1, 0x00}).empty());
            w.radio.powerCycle();
            QCOMPARE(w.radio.state(), State::Idle);
            return;
        }
        QCOMPARE(w.radio.baud(), baud);
        // Asked at the other speed the radio hears garbage; at its own it answers one byte.
        w.baud = baud == 9600 ? 4800 : 9600;
        QVERIFY(w.send({0x28}).empty());
        w.baud = baud;
        QCOMPARE(w.send({0x28}).size(), std::size_t{1});
    }

    void loaderMustBeExact_data() {
        QTest::addColumn<int>("wrongAt");
        QTest::addColumn<int>("start");
        QTest::newRow("exact") << -1 << 0xE1;
        for (int i : {0, 24}) QTest::addRow("byte %d wrong", i) << i << 0xE1;
        QTest::newRow("started at 0xE0") << -1 << 0xE0;
    }

    void loaderMustBeExact() {
        QFETCH(int, wrongAt);
        QFETCH(int, start);
        Wire w;
        w.hook();
        w.toFast();
        w.loadLoader(wrongAt);
        QVERIFY(w.send({0xF0, static_cast<uint8_t>(start)}).empty());
        const bool good = wrongAt < 0 && start == 0xE1;
        QCOMPARE(w.radio.state(), good ? State::Loader : State::Crashed);
    }

    void downloadMustBeExact_data() {
        QTest::addColumn<int>("wrongAt");  // -1: none
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("drop");  // bytes left out at the end
        QTest::newRow("exact") << -1 << 0x52 << 0;
        for (int i : {0, 139}) QTest::addRow("byte %d wrong", i) << i << 0x52 << 0;
        QTest::newRow("wrong address") << -1 << 0x53 << 0;
        QTest::newRow("one byte short") << -1 << 0x52 << 1;
    }

    void downloadMustBeExact() {
        QFETCH(int, wrongAt);
        QFETCH(int, address);
        QFETCH(int, drop);
        Wire w;
        w.hook();
        w.toFast();
        w.loadLoader();
        w.send({0xF0, 0xE1});
        Bytes program = labelProgram();
        QCOMPARE(program.size(), std::size_t{140});
        if (wrongAt >= 0) program[static_cast<std::size_t>(wrongAt)] ^= 0x80;
        program.resize(program.size() - static_cast<std::size_t>(drop));
        w.download(program, static_cast<uint8_t>(address));
        const bool good = wrongAt < 0 && address == 0x52 && drop == 0;
        QCOMPARE(w.radio.state(), good ? State::LabelProgram : State::Crashed);
        // A crashed radio answers nothing, not even a label read.
        QCOMPARE(w.send({0x02, 0x01, 0x28, 0x00}).size(), good ? std::size_t{2} : std::size_t{0});
    }

    void labelCommands() {
        Wire w;
        for (std::size_t a = 0; a < w.radio.labels().size(); ++a)
            w.radio.labels()[a] = static_cast<uint8_t>(a * 3);
        startLabelProgram(w);
        // Read (0x28 | H, L): two bytes, the second the label byte.
        const Bytes answer = w.send({0x02, 0x01, 0x2F, 0x05});
        QCOMPARE(answer.size(), std::size_t{2});
        QCOMPARE(answer[1], w.radio.labels()[0x705]);
        // Write (0x68 | H, L, data): the data echoed.
        QCOMPARE(w.send({0x03, 0x01, 0x69, 0x10, 0x5E}), Bytes{0x5E});
        QCOMPARE(w.radio.labels()[0x110], uint8_t{0x5E});
        // Control writes answer nothing and are remembered.
        QVERIFY(w.send({0x03, 0x00, 0x60, 0xF6, 0x00}).empty());
        QCOMPARE(w.radio.labelControls(), (std::vector<VirtualRadio::LabelControl>{{0xF6, 0x00}}));
        // Malformed commands are ignored.
        QVERIFY(w.send({0x02, 0x00, 0x28, 0x00}).empty());
        QVERIFY(w.send({0x03, 0x01, 0x28, 0x00, 0x11}).empty());
        QCOMPARE(w.radio.labels()[0], uint8_t{0});
        QCOMPARE(w.radio.state(), State::LabelProgram);
    }

    void endOfLabelWork() {
        Wire w;
        startLabelProgram(w);
        w.send({0x00});
        w.send({0x02, 0x01, 0x28, 0x00});  // anything between two 0x00 starts the pair again
        w.send({0x00});
        QCOMPARE(w.radio.state(), State::LabelProgram);
        w.send({0x00});
        QCOMPARE(w.radio.state(), State::Hooked);
        // Back in the monitor at 9600: the baud register takes it back to 4800.
        QCOMPARE(w.send({0xD0, 0x0D, 0x31}), Bytes{0x31});
        w.baud = 4800;
        QCOMPARE(w.send({0x28}).size(), std::size_t{1});
        w.send({0x01});
        QCOMPARE(w.radio.state(), State::Idle);
    }

    void faultSpec_data() {
        QTest::addColumn<QString>("faults");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("canonical");
        QTest::newRow("silent, id decimal") << "id=67, silent" << true << "silent,id=0x43";
        QTest::newRow("items in their order")
            << "slow=600,drop-echo=1,corrupt-reply=9,silent,id=0xf2" << true
            << "silent,id=0xf2,corrupt-reply=9,drop-echo=1,slow=600";
        QTest::newRow("step and range") << "drop-reply=label:6-9" << true << "drop-reply=label:6-9";
        QTest::newRow("repeated") << "drop-echo=2,drop-echo=5" << true << "drop-echo=2,drop-echo=5";
        QTest::newRow("corrupt-in")
            << "corrupt-in=loader:40,slow=3" << true << "corrupt-in=loader:40,slow=3";
        for (const char* bad :
             {"", "noisy", "id=0x100", "id", "drop-echo=two", "silent,slow=-5", "drop-reply=tune:3",
              "drop-echo=ram:0", "corrupt-reply=5-3", "corrupt-in="})
            QTest::addRow("bad: %s", bad) << bad << false << "";
    }

    void faultSpec() {
        QFETCH(QString, faults);
        QFETCH(bool, valid);
        QFETCH(QString, canonical);
        FaultPlan plan;
        QString why;
        QCOMPARE(FaultPlan::parse(faults, plan, &why), valid);
        if (!valid) {
            QVERIFY(!why.isEmpty());
            QCOMPARE(plan, FaultPlan{});
            return;
        }
        QCOMPARE(plan.toString(), canonical);
        FaultPlan again;
        QVERIFY(FaultPlan::parse(plan.toString(), again));
        QCOMPARE(again, plan);
    }

    void faultsWithinAStep() {
        // ram:2 is the second loader byte's echo: the baud register's echo counts apart.
        FaultPlan plan;
        QVERIFY(FaultPlan::parse(QStringLiteral("drop-echo=ram:2,corrupt-reply=baud:1"), plan));
        Wire w;
        w.radio.setFaults(plan);
        w.hook();
        QCOMPARE(w.send({0xD0, 0x0D, 0x30}), Bytes{0x30});
        w.baud = 9600;
        w.collect();
        QCOMPARE(w.send({0x28}), Bytes{static_cast<uint8_t>(~kDefaultIdByte)});
        QCOMPARE(w.send({0xD0, 0xE0, 0x9C}), Bytes{0x9C});
        QVERIFY(w.send({0xD0, 0xE1, 0xAD}).empty());
        QCOMPARE(w.send({0xD0, 0xE2, 0x10}), Bytes{0x10});
    }
};

TAV_TEST_GUILESS(TestRadioPrograms);
#include "tst_radioprograms.moc"
