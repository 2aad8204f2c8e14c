// The virtual radio's protocol, wire timing, line speeds and fault injection.

#include <QtTest>

#include "TestMain.h"
#include "../radio/RadioRig.h"

using namespace tav;
using namespace tav::test;
using sim::VirtualRadio;

namespace {
constexpr double kByte4800 = 10.0 / 4800;
}

class TestVirtualRadio : public QObject {
    Q_OBJECT

private slots:
    // Bytes written together queue on the line; answers queue behind each other.
    void bytesQueueOnTheLine() {
        VirtualRadio radio;
        radio.lineIn(0x00, 4800, 1.0);
        radio.lineIn(0x0A, 4800, 1.0);
        radio.lineIn(0x14, 4800, 1.0);
        radio.lineIn(0x28, 4800, 1.0);
        radio.lineIn(0xE1, 4800, 1.0);
        radio.lineIn(0x00, 4800, 1.0);
        const auto& log = radio.wireLog();
        QCOMPARE(log.size(), std::size_t(9));
        QVERIFY(qAbs(log[3].time - (1.0 + 4 * kByte4800)) < 1e-12);  // hook request complete
        QCOMPARE(log[4].dir, sim::Direction::ToEditor);              // id byte
        QVERIFY(qAbs(log[4].time - (1.0 + 5 * kByte4800)) < 1e-12);
        // Word read: arrives at 6 byte times; its replies wait for the line to be free.
        QVERIFY(qAbs(log[7].time - (1.0 + 7 * kByte4800)) < 1e-12);
        QVERIFY(qAbs(log[8].time - (1.0 + 8 * kByte4800)) < 1e-12);
        QVERIFY(!radio.takeDue(1.0 + 5 * kByte4800 - 1e-9, 4800));
        const std::optional<uint8_t> id = radio.takeDue(log[4].time, 4800);
        QVERIFY(id.has_value());
        QCOMPARE(int(*id), int(sim::kDefaultIdByte));
    }

    void editorAtAnotherSpeedIsNotHeard() {
        RadioRig rig;
        rig.link.setBaudRate(9600);
        rig.com.Timeout = 0.1f;
        QVERIFY(!rig.com.Hook());
        QCOMPARE(rig.radio.state(), VirtualRadio::State::Idle);
        for (const sim::WireEvent& e : rig.radio.wireLog()) {
            QCOMPARE(e.dir, sim::Direction::ToRadio);
            QVERIFY(e.garbled);
            QCOMPARE(e.baud, 9600);
        }
    }

    void radioAtAnotherSpeedIsNotHeard() {
        RadioRig rig;
        QVERIFY(rig.hook());
        QVERIFY(rig.com.OpenComm());
        rig.link.writeByte(0xE1);
        rig.link.writeByte(0x00);
        rig.link.setBaudRate(9600);  // before the answer is back
        uint8_t c = 0;
        QVERIFY(!rig.com.WaitForComChar(c));
        int garbled = 0;
        for (const sim::WireEvent& e : rig.radio.wireLog())
            if (e.dir == sim::Direction::ToEditor) garbled += e.garbled;
        QCOMPARE(garbled, 2);
    }

    void slowRepliesMissTheTimeout() {
        RadioRig rig;
        QVERIFY(rig.hook());
        rig.radio.setFaults(faults("slow=600"));
        Word w{};
        QVERIFY(!rig.com.ReadEEWord(0x10, w));
        // The late answer still comes, and waits for whoever reads next.
        rig.com.delay(200);
        QCOMPARE(rig.link.waitingCount(), 2);
    }

    // The tuning window wakes the radio with only five 0x00; without any
    // wake-up byte the hook request goes unanswered.
    void wakeUp_data() {
        QTest::addColumn<int>("zeros");
        QTest::addColumn<bool>("answered");
        QTest::newRow("none") << 0 << false;
        QTest::newRow("five") << 5 << true;
    }
    void wakeUp() {
        QFETCH(int, zeros);
        QFETCH(bool, answered);
        VirtualRadio radio;
        for (int i = 0; i < zeros; ++i) radio.lineIn(0x00, 4800, 0.0);
        for (uint8_t b : {0x0A, 0x14, 0x28}) radio.lineIn(b, 4800, 0.0);
        QCOMPARE(radio.sent().size(), std::size_t(answered ? 1 : 0));
        QCOMPARE(radio.state() == VirtualRadio::State::Hooked, answered);
    }

    void releasedRadioIgnoresMemoryCommands() {
        RadioRig rig;
        QVERIFY(rig.hook());
        rig.com.UnHook();
        QVERIFY(rig.com.OpenComm());
        Word w{};
        QVERIFY(!rig.com.ReadEEWord(0x10, w));
        QVERIFY(!rig.com.WriteEEWord(12, 1, 2));
        QVERIFY(rig.radio.eepromWrites().empty());
    }
};

TAV_TEST_GUILESS(TestVirtualRadio);
#include "tst_virtualradio.moc"
