#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <algorithm>
#include <functional>
#include <memory>

#include "TestMain.h"
#include "TestSupport.h"
#include "sim/SimSerialLink.h"
#include "sim/VirtualClock.h"
#include "sim/VirtualRadio.h"
#include "tune/TuneBox.h"
#include "tune/frmTune.h"

using namespace tav;
using Bytes = std::vector<uint8_t>;
using Writes = QList<QList<int>>;  // {address, hi, lo} per word write

namespace {

// The virtual clock, with a way to act from inside a wait (as the user would
// while the window serves its event loop).
class ActingClock : public Clock {
public:
    explicit ActingClock(sim::VirtualClock& c) : c_(c) {}
    // Runs `act` once, on the first pass of a wait at which `when` holds.
    void actWhen(std::function<bool()> when, std::function<void()> act) {
        when_ = std::move(when);
        act_ = std::move(act);
    }
    double now() override { return c_.now(); }
    void idleUntil(double deadline) override {
        c_.idleUntil(deadline);
        if (act_ && when_()) std::exchange(act_, nullptr)();
    }
    void sleepBlocking(int ms) override { c_.sleepBlocking(ms); }
    void beep() override { c_.beep(); }

private:
    sim::VirtualClock& c_;
    std::function<bool()> when_;
    std::function<void()> act_;
};

const Bytes kHookAttempt{0, 0, 0, 0, 0, 0x0A, 0x14, 0x28};

struct Bench {
    AppState state;
    sim::VirtualRadio radio;
    sim::VirtualClock vclock;
    ActingClock clock{vclock};
    sim::SimSerialLink port{radio, clock};
    test::ScriptedPrompter prompter;
    NullProgress progress;
    std::unique_ptr<frmTune> win;

    Bench() {
        radio.eeprom()[4] = 0x77;  // shares a word with the slope byte
        radio.eeprom()[5] = 0x80;
        radio.eeprom()[8] = 0x3F * 4;
        radio.eeprom()[9] = 0x20 * 4 + 3;  // low bits are not part of the setting
    }
    LinkContext ctx() { return {state, port, clock, prompter, progress}; }

    // Opens the window; its activation reads the radio.
    bool open() {
        win = std::make_unique<frmTune>(ctx());
        win->show();
        win->activateWindow();
        if (!QTest::qWaitForWindowActive(win.get())) return false;
        QCoreApplication::sendPostedEvents(win.get(), QEvent::MetaCall);
        return !win->isBusy();
    }
    QPushButton* button(const char* name) { return win->findChild<QPushButton*>(name); }
    QString text(int box) { return win->box(box)->editWin()->text(); }
    Writes writes() const {
        Writes w;
        for (const sim::EEWrite& e : radio.eepromWrites()) w.append({e.address, e.hi, e.lo});
        return w;
    }
    // Sends a key where the user's keyboard would: to the window's focus.
    void type(char key) {
        QWidget* target = win->focusWidget() ? win->focusWidget() : win.get();
        QTest::keyClick(target, key);
    }
    // Acts while the radio link waits for the answer to the n-th hook request
    // since the records were last cleared.
    void duringHookAttempt(int n, std::function<void()> act) {
        clock.actWhen(
            [this, n] {
                const Bytes in = radio.received();
                return std::count(in.begin(), in.end(), uint8_t{0x28}) == n;
            },
            std::move(act));
    }
    void focusBox(int i) {
        win->box(i)->setFocus();
        QCOMPARE(int(win->selectedBox()), i);
    }
};

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes repeat(const Bytes& b, int n) {
    Bytes out;
    for (int i = 0; i < n; ++i) out.insert(out.end(), b.begin(), b.end());
    return out;
}

}  // namespace

class TestFrmTune : public QObject {
    Q_OBJECT

private slots:
    void opensWithARead() {
        Bench b;
        QVERIFY(b.open());
        QCOMPARE(b.text(0), QStringLiteral("80"));
        QCOMPARE(b.text(1), QStringLiteral("3F"));
        QCOMPARE(b.text(2), QStringLiteral("20"));
        // Hook, the word holding the slope, the power word, release.
        QCOMPARE(b.radio.received(), concat({kHookAttempt, {0xE1, 0x04, 0xE1, 0x08, 0x01}}));
        QVERIFY(b.writes().isEmpty());
        QCOMPARE(b.radio.state(), sim::VirtualRadio::State::Idle);
        QCOMPARE(b.win->windowTitle(), QStringLiteral("TAV Tuning"));
        QVERIFY(!b.button("cmdCancel")->isEnabled());
        QVERIFY(b.prompter.shown.isEmpty());
    }

    void plusMinusWritesTheSelectedValue_data() {
        QTest::addColumn<int>("slope");
        QTest::addColumn<int>("box");
        QTest::addColumn<char>("key");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<Writes>("writes");
        // Either power box writes both power bytes; the slope byte keeps its neighbour.
        QTest::newRow("box 1 + on 3F") << 0x80 << 1 << '+' << "00" << Writes{{8, 0x00, 0x80}};
        QTest::newRow("box 2 - on 20") << 0x80 << 2 << '-' << "1F" << Writes{{8, 0xFC, 0x7C}};
        QTest::newRow("box 0 + on 80") << 0x80 << 0 << '+' << "81" << Writes{{4, 0x77, 0x81}};
        QTest::newRow("box 0 - on 00") << 0x00 << 0 << '-' << "FF" << Writes{{4, 0x77, 0xFF}};
    }
    void plusMinusWritesTheSelectedValue() {
        QFETCH(int, box);
        QFETCH(char, key);
        Bench b;
        QFETCH(int, slope);
        b.radio.eeprom()[5] = uint8_t(slope);
        QVERIFY(b.open());
        b.focusBox(box);
        b.radio.clearRecords();
        b.type(key);
        QTEST(b.text(box), "shown");
        QTEST(b.writes(), "writes");
        QCOMPARE(b.radio.state(), sim::VirtualRadio::State::Idle);
        QCOMPARE(b.radio.received().back(), uint8_t{0x01});
        QVERIFY(b.win->box(box)->editWin()->hasFocus());
        QVERIFY(b.prompter.shown.isEmpty());
    }

    void writeDataWritesSlopeByteAndPowerWord() {
        Bench b;
        QVERIFY(b.open());
        b.win->box(0)->setValue(0x12);
        b.win->box(1)->setValue(0x05);
        b.win->box(2)->setValue(0x3A);
        b.radio.eeprom()[4] = 0x5A;  // changed on the radio since the read
        b.radio.clearRecords();
        b.button("cmdWrite")->click();
        QCOMPARE(b.writes(), (Writes{{4, 0x5A, 0x12}, {8, 0x14, 0xE8}}));
        QCOMPARE(int(b.radio.eeprom()[4]), 0x5A);
        // The tuning addresses are write-protected again afterwards.
        QCOMPARE(int(b.state.GlobalWriteMask[5]), 0);
        QCOMPARE(int(b.state.GlobalWriteMask[8]), 0);
        QCOMPARE(int(b.state.GlobalWriteMask[9]), 0);
        QVERIFY(b.prompter.shown.isEmpty());
    }

    void failedWriteIsReported() {
        Bench b;
        QVERIFY(b.open());
        sim::FaultPlan faults;
        faults.dropEcho = 2;  // the second byte of the slope word's echo
        b.radio.setFaults(faults);
        b.button("cmdWrite")->click();
        QCOMPARE(b.prompter.shown.size(), 1);
        const test::ShownBox& box = b.prompter.shown.first();
        QCOMPARE(box.text, QStringLiteral("Error writing to radio"));
        QCOMPARE(box.title, QStringLiteral("TAV Tune"));
        QCOMPARE(box.buttons, MsgButtons::Ok);
        QCOMPARE(box.icon, MsgIcon::Exclamation);
        QCOMPARE(int(b.state.GlobalWriteMask[5]), 0);
        QCOMPARE(b.radio.received().back(), uint8_t{0x01});
        QVERIFY(!b.win->isHooked());
    }

    void cancelWhileHookingOnlyReleases() {
        Bench b;
        QVERIFY(b.open());
        sim::FaultPlan silent;
        silent.silent = true;
        b.radio.setFaults(silent);
        b.radio.clearRecords();
        bool busyShown = false;
        b.duringHookAttempt(3, [&] {
            auto* status = b.win->findChild<QLabel*>("lblStatus");
            busyShown = status->text() == QStringLiteral("Attempting to hook TAV Radio") &&
                        b.button("cmdCancel")->isEnabled() && !b.button("cmdRead")->isEnabled() &&
                        !b.button("cmdWrite")->isEnabled() && b.win->box(0)->Locked();
            b.button("cmdCancel")->click();
        });
        b.button("cmdRead")->click();
        QVERIFY(busyShown);
        // The attempts go on without limit until Cancel; then only the release.
        QCOMPARE(b.radio.received(), concat({repeat(kHookAttempt, 3), {0x01}}));
        QCOMPARE(b.text(0), QStringLiteral("80"));
        QVERIFY(b.button("cmdRead")->isEnabled());
        QVERIFY(!b.button("cmdCancel")->isEnabled());
        QVERIFY(!b.win->box(2)->Locked());
        QVERIFY(b.win->findChild<QLabel*>("lblStatus")->text().isEmpty());
        QVERIFY(b.prompter.shown.isEmpty());
    }

    void plusWhileHookingIsRefused() {
        Bench b;
        QVERIFY(b.open());
        b.focusBox(1);
        sim::FaultPlan silent;
        silent.silent = true;
        b.radio.setFaults(silent);
        b.radio.clearRecords();
        b.duringHookAttempt(2, [&] {
            b.type('+');
            b.duringHookAttempt(3, [&] { b.button("cmdCancel")->click(); });
        });
        b.button("cmdRead")->click();
        QCOMPARE(b.text(1), QStringLiteral("3F"));
        QCOMPARE(b.radio.received(), concat({repeat(kHookAttempt, 3), {0x01}}));
        QCOMPARE(int(b.win->selectedBox()), 1);
    }

    void leaveMovesBetweenBoxes_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("to");
        QTest::newRow("up in box 0") << 0 << int(Qt::Key_Up) << 0;
        QTest::newRow("down in box 2") << 2 << int(Qt::Key_Down) << 2;
        QTest::newRow("down in box 0") << 0 << int(Qt::Key_Down) << 1;
        QTest::newRow("right at the end of box 1") << 1 << int(Qt::Key_End) << 2;
        QTest::newRow("left at the start of box 1") << 1 << int(Qt::Key_Home) << 0;
    }
    void leaveMovesBetweenBoxes() {
        QFETCH(int, from);
        QFETCH(int, key);
        Bench b;
        QVERIFY(b.open());
        b.focusBox(from);
        b.radio.clearRecords();
        QLineEdit* edit = b.win->box(from)->editWin();
        if (key == Qt::Key_End || key == Qt::Key_Home) {
            // Move there first, then one more step off the edge.
            QTest::keyClick(edit, Qt::Key(key));
            QTest::keyClick(edit, key == Qt::Key_End ? Qt::Key_Right : Qt::Key_Left);
        } else {
            QTest::keyClick(edit, Qt::Key(key));
        }
        QFETCH(int, to);
        QVERIFY(b.win->box(to)->editWin()->hasFocus());
        QCOMPARE(int(b.win->selectedBox()), to);
        QVERIFY(b.radio.received().empty());  // editing alone never talks to the radio
    }

    void portThatWillNotOpen() {
        Bench b;
        b.port.setOpenFailure(OpenFailure::NoSuchDevice);
        frmTune win(b.ctx());
        QCOMPARE(b.prompter.texts(), QStringList{"Unable to open Comm Port"});
        QCOMPARE(b.prompter.shown.first().title, QStringLiteral("COMM ERROR"));
        QCOMPARE(b.prompter.shown.first().buttons, MsgButtons::Ok);
        QCOMPARE(b.prompter.shown.first().icon, MsgIcon::None);
    }

    void closingWhileHookingReleasesThenDropsTheLink() {
        Bench b;
        QVERIFY(b.open());
        sim::FaultPlan silent;
        silent.silent = true;
        b.radio.setFaults(silent);
        b.radio.clearRecords();
        b.duringHookAttempt(2, [&] { b.button("cmdExit")->click(); });
        b.button("cmdRead")->click();
        QVERIFY(!b.win->isVisible());
        QCOMPARE(b.radio.received(), concat({repeat(kHookAttempt, 2), {0x01}}));
        QVERIFY(!b.port.isOpen());     // the link went away and closed the port
        b.button("cmdRead")->click();  // nothing runs after closing
        QCOMPARE(b.radio.received().size(), 2 * kHookAttempt.size() + 1);
    }

    void readsAgainWhenActivatedFromAnotherWindow() {
        Bench b;
        QVERIFY(b.open());
        const auto backTo = [&](QWidget& other) {
            b.radio.clearRecords();
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
            other.hide();
            b.win->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(b.win.get()));
            QCoreApplication::sendPostedEvents(b.win.get(), QEvent::MetaCall);
        };
        b.radio.eeprom()[5] = 0x42;
        QDialog box;  // a message box of the window's own: no new read
        box.setModal(true);
        backTo(box);
        QVERIFY(b.radio.received().empty());
        QCOMPARE(b.text(0), QStringLiteral("80"));
        QWidget mainWindow;
        backTo(mainWindow);
        QCOMPARE(b.radio.received(), concat({kHookAttempt, {0xE1, 0x04, 0xE1, 0x08, 0x01}}));
        QCOMPARE(b.text(0), QStringLiteral("42"));
    }
};

TAV_TEST(TestFrmTune);
#include "tst_frmtune.moc"
