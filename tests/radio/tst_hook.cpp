// Waking, hooking and releasing the radio, and the identification byte test.

#include <QtTest>
#include <functional>

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

    void silentRadioGetsFourAttemptsPerBox() {
        RadioRig rig;
        rig.radio.setFaults(faults("silent"));
        rig.prompter.answers = {MsgResult::Retry, MsgResult::Cancel};
        const double start = rig.clock.now();
        QVERIFY(!rig.com.Hook());
        QCOMPARE(hex(rig.radio.received()), hex(repeated(wakeAndHookRequest(), 8)));
        QCOMPARE(rig.prompter.shown.size(), 2);
        QCOMPARE(boxLine(rig.prompter.shown[1]), kHookBox);
        // Each attempt waits out its 0.5 s: a cycle takes about 2 s.
        const double elapsed = rig.clock.now() - start;
        QVERIFY(elapsed > 4.0 && elapsed < 4.5);
        // The box came after the fourth attempt of each cycle.
        QCOMPARE(rig.link.openCalls(), 1);
    }

    void retryAfterRejectedIdWithSilentRadio() {
        RadioRig rig;
        ActingPrompter prompter;
        clsTavCom com(LinkContext{rig.state, rig.link, rig.clock, prompter, rig.progress});
        rig.radio.setIdByte(0x43);
        prompter.answers = {MsgResult::Retry, MsgResult::Cancel};
        std::vector<std::size_t> sentBeforeBox;
        prompter.onShow = [&] {
            sentBeforeBox.push_back(rig.radio.received().size());
            rig.radio.setFaults(faults("silent"));
        };
        QVERIFY(!com.Hook());
        const std::size_t attempt = wakeAndHookRequest().size();
        QCOMPARE(sentBeforeBox, (std::vector<std::size_t>{attempt, 5 * attempt}));
        QCOMPARE(hex(rig.radio.received()), hex(repeated(wakeAndHookRequest(), 5)));
    }

    void retryThatSucceeds() {
        RadioRig rig;
        ActingPrompter prompter;
        clsTavCom com(LinkContext{rig.state, rig.link, rig.clock, prompter, rig.progress});
        rig.radio.setFaults(faults("silent"));
        prompter.answers = {MsgResult::Retry};
        prompter.onShow = [&] { rig.radio.setFaults({}); };
        QVERIFY(com.Hook());
        QCOMPARE(hex(rig.radio.received()), hex(repeated(wakeAndHookRequest(), 5)));
        QCOMPARE(prompter.shown.size(), 1);
    }

    // A lost identification byte costs one attempt; the radio, hooked by
    // then, answers the next request.
    void lostIdByteIsAskedForAgain() {
        RadioRig rig;
        rig.radio.setFaults(faults("drop-reply=1"));
        QVERIFY(rig.com.Hook());
        QCOMPARE(hex(rig.radio.received()), hex(repeated(wakeAndHookRequest(), 2)));
        QVERIFY(rig.prompter.shown.isEmpty());
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

QTEST_GUILESS_MAIN(TestHook)
#include "tst_hook.moc"
