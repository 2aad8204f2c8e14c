// Construction, port opening and the timed waits of the radio link.

#include <QtTest>

#include "TestMain.h"
#include "XferSupport.h"

using namespace tav;
using namespace tav::test;

class TestPrimitives : public QObject {
    Q_OBJECT

private slots:
    // A new link sets the write masks and trusts no group page; destroyed, it
    // closes its port without a word to the radio.
    void lifetime() {
        AppState state;
        state.GlobalWriteMask.fill(0x55);
        state.GroupWriteMask.fill(0x55);
        sim::VirtualClock clock;
        sim::VirtualRadio radio;
        sim::SimSerialLink link(radio, clock);
        ScriptedPrompter prompter;
        NullProgress progress;
        {
            clsTavCom com(LinkContext{state, link, clock, prompter, progress});
            QCOMPARE(com.Timeout, 0.5f);
            QVERIFY(!com.CommPortError);
            for (int i = 0; i < 128; ++i) {
                QCOMPARE(int(state.GlobalWriteMask[i]), int(globalMask(i, true)));
                QCOMPARE(int(state.GroupWriteMask[i]), int(groupMask(i)));
            }
            for (int p = 0; p < kPageCount; ++p) QVERIFY(!com.pageWritable(p));
            QVERIFY(com.OpenComm());
        }
        QVERIFY(!link.isOpen());
        QVERIFY(radio.received().empty());
    }

    // A failure shows one box, with the reason apart from the text; the next
    // open that works clears the flag, and a second open leaves the port alone.
    void openComm() {
        RadioRig rig;
        rig.link.setOpenFailure(OpenFailure::NoSuchDevice);
        QVERIFY(!rig.com.OpenComm());
        QVERIFY(rig.com.CommPortError);
        QCOMPARE(rig.prompter.shown.size(), 1);
        QCOMPARE(boxLine(rig.prompter.shown[0]),
                 boxLine("Unable to open Comm Port", "COMM ERROR", MsgButtons::Ok, MsgIcon::None));
        QVERIFY(!rig.prompter.shown[0].detail.isEmpty());
        rig.link.setOpenFailure(OpenFailure::None);
        QVERIFY(rig.com.OpenComm());
        QVERIFY(rig.com.OpenComm());
        QVERIFY(!rig.com.CommPortError);
        QCOMPARE(rig.link.openCalls(), 2);
        QVERIFY(rig.link.isOpen());
    }

    void delayEndsOnceTimeHasPassed_data() {
        QTest::addColumn<int>("ms");
        QTest::newRow("0") << 0;
        QTest::newRow("2") << 2;
        QTest::newRow("150") << 150;
    }
    void delayEndsOnceTimeHasPassed() {
        QFETCH(int, ms);
        RadioRig rig;
        const double start = rig.clock.now();
        rig.com.delay(ms);
        const double elapsed = rig.clock.now() - start;
        QVERIFY(elapsed > float(ms) / 1000.0f);
        QVERIFY(elapsed <= ms / 1000.0 + 3 * sim::VirtualClock::kTick);
        if (ms == 0) QCOMPARE(rig.clock.idleCalls(), 1);  // even no delay yields once
    }

    // A byte that arrives exactly as the time runs out is left for the next
    // reader; one that arrives a moment earlier is taken, one already waiting
    // at once.
    void byteAtTheTimeoutStaysForTheNextReader_data() {
        QTest::addColumn<double>("after");
        QTest::addColumn<bool>("firstGetsIt");
        QTest::newRow("waiting") << 0.0 << true;
        QTest::newRow("just before") << 0.4999 << true;
        QTest::newRow("exactly at") << 0.5 << false;
    }
    void byteAtTheTimeoutStaysForTheNextReader() {
        QFETCH(double, after);
        QFETCH(bool, firstGetsIt);
        RadioRig rig;
        QVERIFY(rig.com.OpenComm());
        const double start = rig.clock.now();
        rig.radio.transmitAt(0xA7, start + after);
        uint8_t c = 0x11;
        QCOMPARE(rig.com.WaitForComChar(c), firstGetsIt);
        if (after == 0.0) QCOMPARE(rig.clock.now(), start);
        if (!firstGetsIt) {
            QCOMPARE(int(c), 0x11);  // untouched on failure
            QCOMPARE(rig.link.waitingCount(), 1);
            QVERIFY(rig.com.WaitForComChar(c));
        }
        QCOMPARE(int(c), 0xA7);
    }

    void waitForComCharHonoursTimeout_data() {
        QTest::addColumn<float>("timeout");
        QTest::newRow("default") << 0.5f;
        QTest::newRow("short") << 0.1f;
    }
    void waitForComCharHonoursTimeout() {
        QFETCH(float, timeout);
        RadioRig rig;
        QVERIFY(rig.com.OpenComm());
        rig.com.Timeout = timeout;
        const double start = rig.clock.now();
        uint8_t c = 0;
        QVERIFY(!rig.com.WaitForComChar(c));
        const double elapsed = rig.clock.now() - start;
        QVERIFY(elapsed > timeout);
        QVERIFY(elapsed < timeout + 0.001);
    }

    void waitForEchoCharSkipsOtherBytes() {
        RadioRig rig;
        QVERIFY(rig.com.OpenComm());
        const double t = rig.clock.now();
        for (int i = 0; i < 20; ++i) rig.radio.transmitAt(uint8_t(i), t + 0.01 * i);
        rig.radio.transmitAt(0x77, t + 0.3);
        rig.radio.transmitAt(0x99, t + 0.31);
        QVERIFY(rig.com.WaitForEchoChar(0x77));
        // Everything before the echo was dropped; what follows is still there.
        QCOMPARE(rig.link.waitingCount(), 0);
        uint8_t c = 0;
        QVERIFY(rig.com.WaitForComChar(c));
        QCOMPARE(int(c), 0x99);
    }

    // The echo wait has its own fixed 0.5 s, whatever Timeout is, and a
    // stream of other bytes does not keep it alive.
    void waitForEchoCharGivesUpAfterHalfASecond() {
        RadioRig rig;
        QVERIFY(rig.com.OpenComm());
        rig.com.Timeout = 5.0f;
        const double t = rig.clock.now();
        for (int i = 0; i < 400; ++i) rig.radio.transmitAt(0x00, t + 0.0025 * i);
        QVERIFY(!rig.com.WaitForEchoChar(0x77));
        const double elapsed = rig.clock.now() - t;
        QVERIFY(elapsed > 0.5);
        QVERIFY(elapsed < 0.51);
    }
};

TAV_TEST_GUILESS(TestPrimitives);
#include "tst_primitives.moc"
