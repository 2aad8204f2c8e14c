// Waking, hooking and releasing the radio, and the identification byte test.

#include <QtTest>
#include <functional>

#include "TestMain.h"
#include "RadioRig.h"

using namespace tav;
using namespace tav::test;

namespace {

// Answers like ScriptedPrompter and lets the test change the radio meanwhile.
class ActingPrompter : public ScriptedPrompter {
public:
    std::function<void()> onShow;
    MsgResult show(const QString& text, const QString& title, MsgButtons buttons, MsgIcon icon,
                   const QString& detail) override {
        if (onShow) onShow();
        return ScriptedPrompter::show(text, title, buttons, icon, detail);
    }
};

const QString kHookBox =
    boxLine("Error Hooking to Radio.", "COMM ERROR", MsgButtons::RetryCancel, MsgIcon::None);

const QList<int> kAccepted = {0x40, 0x41, 0x42, 0x50, 0x51, 0x52, 0x60, 0x61, 0x62,
                              0x70, 0x71, 0x72, 0x80, 0x81, 0x82, 0x90, 0x91, 0x92,
                              0xA0, 0xA1, 0xA2, 0xB0, 0xB1, 0xB2, 0xC0, 0xC1, 0xC2,
                              0xD0, 0xD1, 0xD2, 0xE0, 0xE1, 0xE2, 0xF0, 0xF1, 0xF2};

}  // namespace

class TestHook : public QObject {
    Q_OBJECT

private slots:
    void isTavAcceptsExactlyTheListedBytes() {
        for (int b = 0; b < 256; ++b) QCOMPARE(clsTavCom::IsTAV(int16_t(b)), kAccepted.contains(b));
    }

    // One attempt either way: a rejected byte ends the cycle at once.
    void hookById_data() {
        QTest::addColumn<int>("id");
        for (int id : {0x40, 0x92, 0xF2, 0x43, 0x3F, 0x00}) QTest::addRow("0x%02X", id) << id;
    }
    void hookById() {
        QFETCH(int, id);
        RadioRig rig;
        rig.radio.setIdByte(uint8_t(id));
        const bool accepted = kAccepted.contains(id);
        QCOMPARE(rig.com.Hook(), accepted);
        QCOMPARE(hex(rig.radio.received()), hex(wakeAndHookRequest()));
        QCOMPARE(rig.prompter.shown.size(), accepted ? 0 : 1);
        if (!accepted) QCOMPARE(boxLine(rig.prompter.shown[0]), kHookBox);
        QVERIFY(rig.link.isOpen());  // a refused radio's port is closed by the next UnHook
    }

    // Four silent attempts make a cycle, then the box; Retry starts a new
    // cycle, a rejected byte ends its cycle at once, and a lost byte costs one
    // attempt (the radio, hooked by then, answers the next request).
    void hookRetries_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("faultAfterBox");
        QTest::addColumn<int>("retries");  // Retry answers before the Cancel
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("attempts");
        QTest::addColumn<int>("boxes");
        QTest::newRow("silent") << 0x40 << "silent"
                                << "silent" << 1 << false << 8 << 2;
        QTest::newRow("rejected, then silent") << 0x43 << ""
                                               << "silent" << 1 << false << 5 << 2;
        QTest::newRow("silent, then answers") << 0x40 << "silent"
                                              << "" << 1 << true << 5 << 1;
        QTest::newRow("id byte lost") << 0x40 << "drop-reply=1"
                                      << "" << 0 << true << 2 << 0;
    }
    void hookRetries() {
        QFETCH(int, id);
        QFETCH(QString, fault);
        QFETCH(QString, faultAfterBox);
        QFETCH(int, retries);
        QFETCH(bool, ok);
        QFETCH(int, attempts);
        QFETCH(int, boxes);
        RadioRig rig;
        ActingPrompter prompter;
        clsTavCom com(LinkContext{rig.state, rig.link, rig.clock, prompter, rig.progress});
        rig.radio.setIdByte(uint8_t(id));
        rig.radio.setFaults(faults(fault));
        for (int i = 0; i < retries; ++i) prompter.answers << MsgResult::Retry;
        prompter.answers << MsgResult::Cancel;
        prompter.onShow = [&] { rig.radio.setFaults(faults(faultAfterBox)); };
        const double start = rig.clock.now();
        QCOMPARE(com.Hook(), ok);
        QCOMPARE(hex(rig.radio.received()), hex(repeated(wakeAndHookRequest(), attempts)));
        QCOMPARE(prompter.shown.size(), boxes);
        for (const ShownBox& box : prompter.shown) QCOMPARE(boxLine(box), kHookBox);
        QCOMPARE(rig.link.openCalls(), 1);
        // Each silent attempt waits out its 0.5 s.
        const double elapsed = rig.clock.now() - start;
        if (QTest::currentDataTag() == QLatin1String("silent"))
            QVERIFY(elapsed > 4.0 && elapsed < 4.5);
    }

    // Input left over from earlier traffic is discarded before the request.
    void staleInputIsDiscardedBeforeTheRequest() {
        RadioRig rig;
        QVERIFY(rig.com.OpenComm());
        rig.radio.transmitAt(0x43, rig.clock.now());
        QVERIFY(rig.com.Hook());
        QVERIFY(rig.prompter.shown.isEmpty());
    }

    void hookWithoutPortShowsOnlyThePortBox() {
        RadioRig rig;
        rig.link.setOpenFailure(OpenFailure::InUse);
        QVERIFY(!rig.com.Hook());
        QCOMPARE(rig.prompter.texts(), QStringList{QStringLiteral("Unable to open Comm Port")});
        QVERIFY(rig.radio.received().empty());
    }

    // UnHook opens the port if need be, sends the release and closes it;
    // without a port it sends nothing and says so once.
    void unHook_data() {
        QTest::addColumn<bool>("hooked");
        QTest::addColumn<bool>("portMissing");
        QTest::newRow("idle radio") << false << false;
        QTest::newRow("hooked radio") << true << false;
        QTest::newRow("no port") << false << true;
    }
    void unHook() {
        QFETCH(bool, hooked);
        QFETCH(bool, portMissing);
        RadioRig rig;
        if (hooked) QVERIFY(rig.hook());
        if (portMissing) rig.link.setOpenFailure(OpenFailure::NoSuchDevice);
        rig.com.UnHook();
        QCOMPARE(hex(rig.radio.received()), portMissing ? QByteArray() : hex(bytes({0x01})));
        QCOMPARE(rig.radio.state(), sim::VirtualRadio::State::Idle);
        QVERIFY(!rig.link.isOpen());
        QCOMPARE(rig.prompter.shown.size(), portMissing ? 1 : 0);
        QCOMPARE(rig.com.CommPortError, portMissing);
        QCOMPARE(rig.link.openCalls(), 1);
    }
};

TAV_TEST_GUILESS(TestHook);
#include "tst_hook.moc"
