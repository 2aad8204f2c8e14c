// The Global Parameters window: its opening pause, what it stores, and its
// closing question on every way out.

#include "TestMain.h"
#include "UiFixture.h"
#include "ui/frmGlobals.h"

using namespace tav;

namespace {

struct Rig : test::UiRig {
    QWidget owner;
    frmGlobals* win = new frmGlobals(state, *settings, prompter, clock, &owner);

    // Opens the window and lets the opening pause run out.
    void open() {
        win->showGlobals();
        QCoreApplication::processEvents();
    }
};

enum class Closer { CloseBox, Exit, Save };

}  // namespace

class TestFrmGlobals : public QObject {
    Q_OBJECT

private slots:
    // Shown at once with its placeholders; the image is read after the pause,
    // which runs on the clock in the event loop.
    void opensAtOnceAndReadsAfterThePause() {
        Rig r;
        r.state.EEImage.fill(0xFF);
        r.state.PowerBlockPresent = 1;
        r.win->showGlobals();
        QVERIFY(r.win->isVisible() && r.state.GlobalsWindowOpen && r.win->readPending());
        QCOMPARE(r.win->txtPassWord->text(), QString("381902"));
        QCoreApplication::processEvents();
        QVERIFY(!r.win->readPending());
        QCOMPARE(r.clock.now(), 101.0);  // the pause, on the clock
        frmGlobals& w = *r.win;
        QCOMPARE(w.cboDTMFDev->currentText(), QString("5812.5"));
        QCOMPARE(w.cboBattSave->currentText(), QString("Inhibit"));
        QVERIFY(w.chkPerChannelBandwidth->isChecked() && w.chkPerChannelPower->isChecked());
        QCOMPARE(w.txtPassWord->text(), QString("FFFFFF"));
        r.state.EEImage[11] = 0x12;
        w.mnuReadSettings->trigger();
        QCOMPARE(w.txtPassWord->text(), QString("12FFFF"));
    }

    // A write before the first read (Write Radio within the opening pause)
    // stores the image's values, not the placeholders.
    void writeBeforeTheFirstReadKeepsTheImage() {
        Rig early;
        early.state.EEImage.fill(0xFF);
        early.state.EEImage[11] = 0x12;
        const auto expected = early.state.EEImage;
        early.win->showGlobals();
        early.win->writeGlobals();
        QCOMPARE(early.state.EEImage, expected);
        QVERIFY(!early.win->readPending());
    }

    void closeAsks_data() {
        QTest::addColumn<Closer>("closer");
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<bool>("closed");
        QTest::newRow("close box, Yes") << Closer::CloseBox << MsgResult::Yes << true << true;
        QTest::newRow("close box, Cancel")
            << Closer::CloseBox << MsgResult::Cancel << false << false;
        QTest::newRow("without saving, No") << Closer::Exit << MsgResult::No << false << true;
        QTest::newRow("without saving, Cancel")
            << Closer::Exit << MsgResult::Cancel << false << false;
        QTest::newRow("save and close, No") << Closer::Save << MsgResult::No << true << true;
        QTest::newRow("save and close, Cancel")
            << Closer::Save << MsgResult::Cancel << true << false;
    }
    void closeAsks() {
        QFETCH(Closer, closer);
        QFETCH(bool, closed);
        Rig r;
        r.open();
        r.win->txtPassWord->setText("123456");
        QFETCH(MsgResult, answer);
        r.prompter.answers = {answer};
        if (closer == Closer::CloseBox) r.win->close();
        if (closer == Closer::Exit) r.win->mnuExit->trigger();
        if (closer == Closer::Save) r.win->mnuSave->trigger();
        QCOMPARE(test::boxLines(r.prompter.shown),
                 QStringList{"Save Global Parameters? |  | YesNoCancel | None"});
        QFETCH(bool, stored);
        QCOMPARE(r.state.EEImage[11] == 0x12 && r.state.EEImage[13] == 0x56, stored);
        QCOMPARE(r.win->isVisible(), !closed);
        QCOMPARE(r.state.GlobalsWindowOpen, !closed);
        QCOMPARE(r.settings->contains("Position", "GlobalTop"), closed);
        if (!closed) QCOMPARE(r.win->txtPassWord->text(), QString("123456"));
        if (closed) r.open();  // opened again, it shows the image
        QCOMPARE(r.win->txtPassWord->text(), QString(stored || !closed ? "123456" : "000000"));
    }

    // Keys as typed: the field takes six hexadecimal digits, upper-cased.
    void passwordTakesHexDigitsOnly() {
        Rig r;
        r.open();
        r.win->txtPassWord->clear();
        test::typeKeys(r.win->txtPassWord, QStringLiteral("a1g -2345678"));
        QCOMPARE(r.win->txtPassWord->text(), QString("A12345"));
        QCOMPARE(r.clock.beeps(), 3);
    }
};

TAV_TEST(TestFrmGlobals);
#include "tst_frmglobals.moc"
