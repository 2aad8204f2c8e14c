#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "TestMain.h"
#include "TestSupport.h"
#include "app/Settings.h"
#include "sim/VirtualClock.h"
#include "ui/WindowPlacement.h"
#include "ui/frmGlobals.h"

using namespace tav;

namespace {

struct Rig {
    QTemporaryDir dir;
    Settings settings{dir.filePath("TAVEDWIN.ini")};
    AppState state;
    test::ScriptedPrompter prompter;
    sim::VirtualClock clock;
    QWidget owner;
    frmGlobals* win = new frmGlobals(state, settings, prompter, clock, &owner);

    Rig() { win->setOpeningPause(1); }
    // Opens the window and lets the opening pause run out.
    void open() {
        win->showGlobals();
        QTRY_VERIFY(!win->readPending());
    }
};

std::array<uint8_t, kPageSize> page0(const AppState& s) {
    std::array<uint8_t, kPageSize> p{};
    std::copy_n(s.EEImage.begin(), kPageSize, p.begin());
    return p;
}

enum class Closer { CloseBox, Exit, Save };

}  // namespace

class TestFrmGlobals : public QObject {
    Q_OBJECT

private slots:
    void layoutTextsAndLists() {
        Rig r;
        frmGlobals& w = *r.win;
        QCOMPARE(w.windowTitle(), QString("Group '0' Globals  -  TAV Editor   "));
        QVERIFY(w.isWindow() && w.parent() == &r.owner);
        QVERIFY(!w.chkPerChannelBandwidth->isEnabled() && !w.chkPerChannelPower->isEnabled());
        QStringList tipped;
        for (QComboBox* c : w.findChildren<QComboBox*>())
            if (c->toolTip() == "Select value from list.") tipped << c->objectName();
        tipped.sort();
        QCOMPARE(tipped, (QStringList{"cboANIRate", "cboBattSave", "cboDTMFDev", "cboPorchTime",
                                      "cboPriRate"}));
        QCOMPARE(w.mnuFile->title(), QString("Window"));
        const QList<QAction*> items = w.mnuFile->actions();
        QCOMPARE(items.size(), 4);
        QCOMPARE(items[0]->text(), QString("Save Settings And Close Window"));
        QCOMPARE(items[1]->text(), QString("Close Window Without Saving"));
        QVERIFY(items[2]->isSeparator());
        QCOMPARE(items[3]->text(), QString("Read Settings Again"));
    }

    void opensAtOnceAndReadsAfterThePause() {
        Rig r;
        r.win->setOpeningPause(frmGlobals::kOpeningPauseMs);
        r.state.EEImage.fill(0xFF);
        r.state.PowerBlockPresent = 1;
        r.win->showGlobals();
        // Shown at once, still showing its placeholders: the pause runs in the event loop.
        QVERIFY(r.win->isVisible() && r.state.GlobalsWindowOpen && r.win->readPending());
        QCOMPARE(r.win->txtPassWord->text(), QString("381902"));
        QTRY_VERIFY_WITH_TIMEOUT(!r.win->readPending(), 10000);
        frmGlobals& w = *r.win;
        QCOMPARE(w.cboDTMFDev->currentText(), QString("5812.5"));
        QCOMPARE(w.cboPriRate->currentText(), QString("4"));
        QCOMPARE(w.cboBattSave->currentText(), QString("Inhibit"));
        QVERIFY(w.chkPerChannelBandwidth->isChecked() && w.chkPerChannelPower->isChecked());
        QCOMPARE(w.txtPassWord->text(), QString("FFFFFF"));
    }

    void writeStoresOnlyTheFieldBits() {
        Rig r;
        r.state.EEImage.fill(0xFF);
        r.open();
        const auto before = r.state.EEImage;
        frmGlobals& w = *r.win;
        w.cboDTMFDev->setCurrentIndex(3);
        w.cboPorchTime->setCurrentIndex(1);
        w.cboANIRate->setCurrentIndex(0);
        w.cboPriRate->setCurrentIndex(5);
        w.cboBattSave->setCurrentIndex(0);
        w.cboFreqDisplay->setCurrentIndex(0);
        w.cboTalkBack->setCurrentIndex(0);
        w.txtPassWord->setText("A1");
        w.writeGlobals();
        auto expected = before;
        expected[6] = 0x2E;  // bits 2 and 1 kept
        expected[7] = 0x19;
        expected[104] = 0x7F;
        expected[11] = 0x00;
        expected[12] = 0x00;
        expected[13] = 0xA1;
        QCOMPARE(r.state.EEImage, expected);
        w.readGlobals();
        QCOMPARE(w.txtPassWord->text(), QString("0000A1"));
        QCOMPARE(w.cboPriRate->currentText(), QString("1.5"));
    }

    // A write before the first read (Write Radio within the opening pause)
    // must not store the window's placeholders.
    void writeDuringThePauseStoresTheImageValues() {
        Rig r;
        r.win->setOpeningPause(frmGlobals::kOpeningPauseMs);
        r.state.EEImage[7] = 0x5A;
        r.state.EEImage[13] = 0x77;
        r.win->showGlobals();
        QVERIFY(r.win->readPending());
        const auto before = page0(r.state);
        r.win->writeGlobals();
        QCOMPARE(page0(r.state), before);
        QVERIFY(!r.win->readPending());
    }

    void closeAsks_data() {
        QTest::addColumn<Closer>("closer");
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<bool>("closed");
        QTest::newRow("close box, Yes") << Closer::CloseBox << MsgResult::Yes << true << true;
        QTest::newRow("close box, No") << Closer::CloseBox << MsgResult::No << false << true;
        QTest::newRow("close box, Cancel")
            << Closer::CloseBox << MsgResult::Cancel << false << false;
        QTest::newRow("without saving, Yes") << Closer::Exit << MsgResult::Yes << true << true;
        QTest::newRow("without saving, No") << Closer::Exit << MsgResult::No << false << true;
        QTest::newRow("without saving, Cancel")
            << Closer::Exit << MsgResult::Cancel << false << false;
        QTest::newRow("save and close, No") << Closer::Save << MsgResult::No << true << true;
        QTest::newRow("save and close, Cancel")
            << Closer::Save << MsgResult::Cancel << true << false;
    }
    void closeAsks() {
        QFETCH(Closer, closer);
        QFETCH(MsgResult, answer);
        QFETCH(bool, stored);
        QFETCH(bool, closed);
        Rig r;
        r.open();
        r.win->txtPassWord->setText("123456");
        r.prompter.answers = {answer};
        switch (closer) {
            case Closer::CloseBox:
                r.win->close();
                break;
            case Closer::Exit:
                r.win->mnuExit->trigger();
                break;
            case Closer::Save:
                r.win->mnuSave->trigger();
                break;
        }
        QCOMPARE(r.prompter.shown.size(), 1);
        const test::ShownBox& box = r.prompter.shown.first();
        QCOMPARE(box.text, QString("Save Global Parameters?"));
        QCOMPARE(box.title, QString());  // the application's title
        QCOMPARE(box.buttons, MsgButtons::YesNoCancel);
        QCOMPARE(box.icon, MsgIcon::None);
        const bool written = r.state.EEImage[11] == 0x12 && r.state.EEImage[12] == 0x34 &&
                             r.state.EEImage[13] == 0x56;
        QCOMPARE(written, stored);
        QCOMPARE(r.win->isVisible(), !closed);
        QCOMPARE(r.state.GlobalsWindowOpen, !closed);
        QCOMPARE(r.settings.contains("Position", "GlobalTop"), closed);
        if (!closed) QCOMPARE(r.win->txtPassWord->text(), QString("123456"));
    }

    void readAgainAndReopeningShowTheImage() {
        Rig r;
        r.state.EEImage[11] = 0x12;
        r.open();
        r.win->txtPassWord->setText("999999");
        r.win->mnuReadSettings->trigger();
        QCOMPARE(r.win->txtPassWord->text(), QString("120000"));
        r.prompter.answers = {MsgResult::No};
        r.win->txtPassWord->setText("ABCDEF");
        QVERIFY(r.win->close());
        r.state.EEImage[12] = 0x42;
        r.open();
        QVERIFY(r.win->isVisible() && r.state.GlobalsWindowOpen);
        QCOMPARE(r.win->txtPassWord->text(), QString("124200"));
    }

    void programEndClosesThroughTheQuestion() {
        Rig r;
        QVERIFY(r.win->closeWithQuestion());  // not open: nothing to ask
        QVERIFY(r.prompter.shown.isEmpty());
        r.open();
        r.prompter.answers = {MsgResult::Cancel, MsgResult::No};
        QVERIFY(!r.win->closeWithQuestion());
        QVERIFY(r.state.GlobalsWindowOpen);
        QVERIFY(r.win->closeWithQuestion());
        QVERIFY(!r.state.GlobalsWindowOpen);
        QCOMPARE(r.prompter.shown.size(), 2);
    }

    void passwordTakesHexDigitsOnly_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("beeps");
        QTest::newRow("lower case") << QString() << "abcdef" << QString("ABCDEF") << 0;
        QTest::newRow("G, blank, sign refused") << QString() << "1g -2" << QString("12") << 3;
        QTest::newRow("six digits at most") << QString() << "1234567" << QString("123456") << 0;
        QTest::newRow("refused key keeps the value") << "381902"
                                                     << "Z" << QString("381902") << 1;
    }
    void passwordTakesHexDigitsOnly() {
        QFETCH(QString, before);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, beeps);
        Rig r;
        r.open();
        r.win->txtPassWord->setText(before);
        r.win->txtPassWord->selectAll();
        QTest::keyClicks(r.win->txtPassWord, typed);
        QCOMPARE(r.win->txtPassWord->text(), shown);
        QCOMPARE(r.clock.beeps(), beeps);
    }

    void positionIsKeptInTwips() {
        Rig r;
        const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInch();
        r.settings.save("Position", "GlobalTop", "1500");
        r.settings.save("Position", "GlobalLeft", "3000");
        r.open();
        QCOMPARE(r.win->frameGeometry().topLeft(),
                 QPoint(twipsToPixels(3000, dpi), twipsToPixels(1500, dpi)));
        r.win->move(r.win->pos() + QPoint(10, 20));
        r.prompter.answers = {MsgResult::No};
        QVERIFY(r.win->close());
        QCOMPARE(r.settings.number("Position", "GlobalLeft", -1),
                 pixelsToTwips(twipsToPixels(3000, dpi) + 10, dpi));
        QCOMPARE(r.settings.number("Position", "GlobalTop", -1),
                 pixelsToTwips(twipsToPixels(1500, dpi) + 20, dpi));
    }

    void placeOffEveryScreenLandsOnThePrimary_data() {
        QTest::addColumn<QString>("top");
        QTest::addColumn<QString>("left");
        QTest::newRow("far right and down") << "900000" << QString("900000");
        QTest::newRow("above and left") << "-90000" << QString("-90000");
        QTest::newRow("not a number") << "x" << QString();
    }
    void placeOffEveryScreenLandsOnThePrimary() {
        QFETCH(QString, top);
        QFETCH(QString, left);
        Rig r;
        r.settings.save("Position", "GlobalTop", top);
        r.settings.save("Position", "GlobalLeft", left);
        r.open();
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(area.contains(r.win->frameGeometry().topLeft()));
    }

    void cleanup() {
        for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
    }
};

TAV_TEST(TestFrmGlobals);
#include "tst_frmglobals.moc"
