// The radio link's construction, port, timed waits, hook and release, and the
// pauses each exchange makes on the line.

#include <QtTest>
#include <functional>
#include <tuple>

#include "TestMain.h"
#include "XferSupport.h"

using namespace tav;
using namespace tav::test;

namespace {

// The identification bytes a radio may answer: from 0x40 on, low bits 0, 1 or 2.
bool accepted(int b) {
    return b >= 0x40 && (b & 0x0F) <= 2;
}
// timeout, when the byte arrives; whether the wait takes it.
using WaitCase = std::tuple<float, double, bool>;

// id byte, faults, Retry answers; result, attempts, boxes.
using HookCase = std::tuple<int, QString, int, bool, int, int>;

}  // namespace

class TestPrimitives : public QObject {
    Q_OBJECT

private slots:
    // A new link sets the write masks and trusts no group page; destroyed, it
    // closes its port without a word to the radio.
    void lifetime() {
        RadioRig rig;
        rig.state.GlobalWriteMask.fill(0x55);
        rig.state.GroupWriteMask.fill(0x55);
        {
            clsTavCom com(LinkContext{rig.state, rig.link, rig.clock, rig.prompter, rig.progress});
            QCOMPARE(com.Timeout, 0.5f);
            for (int i = 0; i < kPageSize; ++i) {
                QCOMPARE(int(rig.state.GlobalWriteMask[i]), int(globalMask(i, true)));
                QCOMPARE(int(rig.state.GroupWriteMask[i]), int(groupMask(i)));
            }
            for (int p = 0; p < kPageCount; ++p) QVERIFY(!com.pageWritable(p));
            QVERIFY(com.OpenComm());
        }
        QVERIFY(!rig.link.isOpen());
        QVERIFY(rig.radio.received().empty());
    }

    // Without a port, Hook, UnHook and a write send nothing and each shows one
    // box, the reason apart from its text; an open that works clears the flag,
    // and a second open leaves the port alone.
    void portFailure() {
        RadioRig rig;
        rig.link.setOpenFailure(OpenFailure::NoSuchDevice);
        QVERIFY(!rig.com.Hook());
        rig.com.UnHook();
        QVERIFY(!rig.com.WriteEEMemory(false) && rig.com.CommPortError);
        QCOMPARE(rig.prompter.texts(), QStringList(3, "Unable to open Comm Port"));
        QCOMPARE(boxLine(rig.prompter.shown[2]),
                 boxLine("Unable to open Comm Port", "COMM ERROR", MsgButtons::Ok, MsgIcon::None));
        QVERIFY(!rig.prompter.shown[2].detail.isEmpty());
        QCOMPARE(rig.clock.beeps(), 0);
        QVERIFY(rig.radio.received().empty());
        rig.link.setOpenFailure(OpenFailure::None);
        QVERIFY(rig.com.OpenComm() && rig.com.OpenComm());
        QVERIFY(!rig.com.CommPortError);
        QCOMPARE(rig.link.openCalls(), 4);
    }

    // Even no delay yields once and ends as soon as any time has passed.
    void delayZero() {
        RadioRig rig;
        rig.com.delay(0);
        QCOMPARE(rig.clock.idleCalls(), 1);
        QVERIFY(rig.clock.now() > 100.0 && rig.clock.now() < 100.0 + 2 * sim::VirtualClock::kTick);
    }

    // A byte waiting or arriving in time is taken; one that arrives exactly as
    // the time runs out, or later, is left for the next reader.
    void waitForComChar_data() {
        QTest::addColumn<WaitCase>("row");
        QTest::newRow("waiting") << WaitCase{0.5f, 0.0, true};
        QTest::newRow("just before") << WaitCase{0.5f, 0.4999, true};
        QTest::newRow("exactly at") << WaitCase{0.5f, 0.5, false};
        QTest::newRow("short timeout") << WaitCase{0.1f, 0.15, false};
    }
    void waitForComChar() {
        QFETCH(WaitCase, row);
        const auto& [timeout, after, taken] = row;
        RadioRig rig;
        QVERIFY(rig.com.OpenComm());
        rig.com.Timeout = timeout;
        const double start = rig.clock.now();
        rig.radio.transmitAt(0xA7, start + after);
        uint8_t c = 0x11;
        QCOMPARE(rig.com.WaitForComChar(c), taken);
        const double elapsed = rig.clock.now() - start;
        QVERIFY(taken ? elapsed <= after + 1e-9 : elapsed >= timeout && elapsed < timeout + 0.001);
        QCOMPARE(int(c), taken ? 0xA7 : 0x11);
        if (!taken) QVERIFY(rig.com.WaitForComChar(c) && c == 0xA7);
    }

    // The echo wait drops other bytes, leaves what follows the echo, and gives
    // up after its own fixed 0.5 s however many other bytes come.
    void waitForEchoChar() {
        RadioRig rig;
        QVERIFY(rig.com.OpenComm());
        rig.com.Timeout = 5.0f;
        double t = rig.clock.now();
        for (int i = 0; i < 20; ++i) rig.radio.transmitAt(uint8_t(i), t + 0.01 * i);
        rig.radio.transmitAt(0x77, t + 0.3);
        rig.radio.transmitAt(0x99, t + 0.31);
        QVERIFY(rig.com.WaitForEchoChar(0x77));
        QCOMPARE(rig.link.waitingCount(), 0);
        uint8_t c = 0;
        QVERIFY(rig.com.WaitForComChar(c) && c == 0x99);
        t = rig.clock.now();
        for (int i = 0; i < 400; ++i) rig.radio.transmitAt(0x00, t + 0.0025 * i);
        QVERIFY(!rig.com.WaitForEchoChar(0x77));
        QVERIFY(rig.clock.now() - t > 0.5 && rig.clock.now() - t < 0.51);
    }

    void isTavAcceptsExactly36Bytes() {
        int n = 0;
        for (int b = 0; b < 256; n += accepted(b++))
            QCOMPARE(clsTavCom::IsTAV(int16_t(b)), accepted(b));
        QCOMPARE(n, 36);
    }

    // The first byte ends a cycle, accepted or not; four silent attempts make
    // a cycle, then the box; Retry starts a new cycle; a lost byte costs an
    // attempt (the radio, hooked by then, answers the next request).
    void hook_data() {
        QTest::addColumn<HookCase>("c");
        for (int id : {0x40, 0x92, 0xF2, 0x43, 0x3F, 0x00}) {
            const bool ok = accepted(id);
            QTest::addRow("0x%02X", id) << HookCase{id, "", 0, ok, 1, ok ? 0 : 1};
        }
        QTest::newRow("silent") << HookCase{0x40, "drop-reply=hook:1-8", 1, false, 8, 2};
        QTest::newRow("rejected, then silent")
            << HookCase{0x43, "drop-reply=hook:2-5", 1, false, 5, 2};
        QTest::newRow("silent, then answers")
            << HookCase{0x40, "drop-reply=hook:1-4", 1, true, 5, 1};
        QTest::newRow("id byte lost") << HookCase{0x40, "drop-reply=1", 0, true, 2, 0};
    }
    void hook() {
        QFETCH(HookCase, c);
        const auto& [id, fault, retries, ok, attempts, boxes] = c;
        RadioRig rig;
        rig.radio.setIdByte(uint8_t(id));
        rig.radio.setFaults(faults(fault));
        for (int i = 0; i < retries; ++i) rig.prompter.answers << MsgResult::Retry;
        QCOMPARE(rig.com.Hook(), ok);
        QCOMPARE(hex(rig.radio.received()), hex(repeated(wakeAndHookRequest(), attempts)));
        QCOMPARE(rig.prompter.shown.size(), boxes);
        for (const ShownBox& box : rig.prompter.shown)
            QCOMPARE(boxLine(box), boxLine("Error Hooking to Radio.", "COMM ERROR",
                                           MsgButtons::RetryCancel, MsgIcon::None));
        QCOMPARE(rig.link.openCalls(), 1);
        QVERIFY(rig.link.isOpen());  // a refused radio's port is closed by the next UnHook
    }

    // Input left over is discarded before the hook request; UnHook opens the
    // port if need be, sends the release and closes it.
    void staleInputAndRelease() {
        for (bool hooked : {false, true}) {
            RadioRig rig;
            if (hooked) {
                QVERIFY(rig.com.OpenComm());
                rig.radio.transmitAt(0x43, rig.clock.now());
                QVERIFY(rig.hook() && rig.prompter.shown.isEmpty());
            }
            rig.com.UnHook();
            QCOMPARE(hex(rig.radio.received()), hex(bytes({0x01})));
            QCOMPARE(rig.radio.state(), sim::VirtualRadio::State::Idle);
            QVERIFY(!rig.link.isOpen());
            QCOMPARE(rig.link.openCalls(), 1);
        }
    }

    // Every pause of an exchange (see pauseProfile): 0.5 s a silent hook attempt; 500 ms
    // after a write's two releases and before a block's first word; the baud switch's
    // 150, 30, 25 and 10 + 10 + 25 before the check; a control's 2, 2, 5, 5, 50; 0.5 s
    // and 7 ms after a failed try, 1 more each try; a character's 4, 5, 5, then 7 after
    // its echo; 300 after a walk, 10 in the end of label work, 200 before the release.
    void pauses_data() {
        QTest::addColumn<int>("exchange");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("expected");
        const QString toLabels = "+13 150 30 25 45 ", control = "2 2 5 5 50 ";
        const QString read = toLabels + "+220 " + control.repeated(3);
        const QString end = control.repeated(2) + "10 150 30 25 45 200";
        const QString lost = "drop-reply=label:6-12";  // the third character, four times
        QTest::newRow("hook, silent") << 0 << "silent" << QString("+13 500 +12 500 +12 500 +12");
        QTest::newRow("group read") << 1 << QString() << "+13 500 +152";
        QTest::newRow("group write") << 2 << QString() << "+2 500 +14 500 +272";
        QTest::newRow("label read") << 3 << QString() << read + "+511 300 " + end;
        QTest::newRow("label read, tries")
            << 3 << lost << read + "+11 507 +3 508 +3 509 +3 510 " + end;
        QTest::newRow("label write")
            << 4 << QString()
            << toLabels + "+221 4 5 5" + QString(" 7 +1 4 5 5").repeated(127) +
                   " 307 10 150 30 25 45 200";
    }
    void pauses() {
        QFETCH(int, exchange);
        QFETCH(QString, fault);
        QFETCH(QString, expected);
        RadioRig rig;
        loadFactoryRadio(rig);
        rig.radio.setFaults(faults(fault));
        const std::function<bool()> run[] = {
            [&] { return rig.com.Hook(); }, [&] { return rig.com.ReadEEGroup(3); },
            [&] { return rig.com.WriteEEGroup(3); }, [&] { return rig.com.Read_Labels(0); },
            [&] { return rig.com.Write_Labels(0); }};
        QCOMPARE(run[exchange](), fault.isEmpty());
        QCOMPARE(pauseProfile(rig.link), expected);
    }
};

TAV_TEST_GUILESS(TestPrimitives);
#include "tst_primitives.moc"
