// The tuning window against the virtual radio: the exact words it reads and
// writes, its refusals while hooking, the focus moves and the failures.

#include "../ui/UiFixture.h"
#include "TestMain.h"
#include "tune/TuneBox.h"
#include "tune/frmTune.h"

using namespace tav;
using Bytes = std::vector<uint8_t>;
using Writes = QList<QList<int>>;  // {address, hi, lo} per word write

namespace {

// The virtual clock, acting once from inside a wait, as a user would while
// the window serves its event loop.
struct ActingClock : sim::VirtualClock {
    std::function<bool()> when;
    std::function<void()> act;
    void idleUntil(double deadline) override {
        VirtualClock::idleUntil(deadline);
        if (act && when()) std::exchange(act, nullptr)();
    }
};

// `n` hook attempts, then what the radio received after them.
Bytes hooked(int n, const Bytes& then) {
    Bytes out;
    for (int i = 0; i < n; ++i) out.insert(out.end(), {0, 0, 0, 0, 0, 0x0A, 0x14, 0x28});
    out.insert(out.end(), then.begin(), then.end());
    return out;
}

// Hook, the word holding the slope, the power word, release.
const Bytes kRead = hooked(1, {0xE1, 0x04, 0xE1, 0x08, 0x01});

struct Bench {
    AppState state;
    sim::VirtualRadio radio;
    ActingClock clock;
    sim::SimSerialLink port{radio, clock};
    test::ScriptedPrompter prompter;
    NullProgress progress;
    std::unique_ptr<frmTune> win;

    Bench() {
        radio.eeprom()[5] = 0x80;
        radio.eeprom()[8] = 0x3F * 4;
        radio.eeprom()[9] = 0x20 * 4 + 3;  // low bits are not part of the setting
    }
    LinkContext ctx() { return {state, port, clock, prompter, progress}; }

    // Opens the window; its activation reads the radio.
    bool open() {
        win = std::make_unique<frmTune>(ctx());
        return activate(win.get()) && !win->isBusy();
    }
    bool activate(QWidget* w) {
        w->show();
        w->activateWindow();
        const bool active = QTest::qWaitForWindowActive(w);
        QCoreApplication::sendPostedEvents(win.get(), QEvent::MetaCall);
        return active;
    }
    QPushButton* button(const char* name) { return win->findChild<QPushButton*>(name); }
    QString text(int box) { return win->box(box)->editWin()->text(); }
    // Sends a key where the user's keyboard would: to the window's focus.
    void type(char key) { QTest::keyClick(win->focusWidget(), key); }
    // Acts while the radio link waits for the answer to the n-th hook request
    // since the records were last cleared.
    void duringHookAttempt(int n, std::function<void()> act) {
        clock.when = [this, n] {
            const Bytes in = radio.received();
            return std::count(in.begin(), in.end(), uint8_t{0x28}) == n;
        };
        clock.act = std::move(act);
    }
    void focusBox(int i) { win->box(i)->setFocus(); }
};

// Inside the file's namespace, as it uses the types above (unity builds).
class TestFrmTune : public QObject {
    Q_OBJECT

private slots:
    void readsOnOpeningAndBackFromAnotherWindow() {
        Bench b;
        QVERIFY(b.open());
        QCOMPARE((QStringList{b.text(0), b.text(1), b.text(2)}), (QStringList{"80", "3F", "20"}));
        QCOMPARE(b.radio.received(), kRead);
        QVERIFY(b.prompter.shown.isEmpty());
        b.radio.eeprom()[5] = 0x42;
        QDialog box;  // a message box of the window's own: no new read
        box.setModal(true);
        QWidget mainWindow;
        b.radio.clearRecords();
        for (QWidget* other : {static_cast<QWidget*>(&box), &mainWindow}) {
            QVERIFY(b.activate(other));
            other->hide();
            QVERIFY(b.activate(b.win.get()));
        }
        QCOMPARE(b.radio.received(), kRead);
        QCOMPARE(b.text(0), QStringLiteral("42"));
    }

    // + and - write the selected box at once; Write Data (w) all three, also
    // with an echo lost (e). Either power box writes both power bytes; the
    // slope byte keeps its neighbour as the radio holds it.
    void writes_data() {
        QTest::addColumn<int>("box");
        QTest::addColumn<char>("key");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<Writes>("writes");
        QTest::addColumn<QString>("message");
        const Writes all{{4, 0x5A, 0x80}, {8, 0xFC, 0x80}};
        QTest::newRow("box 1 + on 3F") << 1 << '+' << "00" << Writes{{8, 0, 0x80}} << "";
        QTest::newRow("box 2 - on 20") << 2 << '-' << "1F" << Writes{{8, 0xFC, 0x7C}} << "";
        QTest::newRow("box 0 + on 80") << 0 << '+' << "81" << Writes{{4, 0x5A, 0x81}} << "";
        QTest::newRow("Write Data") << 0 << 'w' << "80" << all << "";
        QTest::newRow("echo lost")
            << 0 << 'e' << "80" << all << "Error writing to radio | TAV Tune | Ok | Exclamation";
    }
    void writes() {
        QFETCH(int, box);
        QFETCH(char, key);
        Bench b;
        QVERIFY(b.open());
        b.focusBox(box);
        b.radio.eeprom()[4] = 0x5A;  // changed on the radio since the read
        if (key == 'e') b.radio.setFaults(test::faults("drop-echo=2"));  // of the slope word
        b.radio.clearRecords();
        if (key == 'w' || key == 'e')
            b.button("cmdWrite")->click();
        else
            b.type(key);
        QTEST(b.text(box), "shown");
        Writes writes;
        for (const sim::EEWrite& e : b.radio.eepromWrites()) writes.append({e.address, e.hi, e.lo});
        QTEST(writes, "writes");
        QTEST(test::boxLines(b.prompter.shown).join(u'\n'), "message");
        // Released, and the tuning addresses write-protected again.
        QCOMPARE(b.radio.received().back(), uint8_t{0x01});
        for (int at : {5, 8, 9}) QCOMPARE(int(b.state.GlobalWriteMask[at]), 0);
        QVERIFY(b.win->box(box)->editWin()->hasFocus());
    }

    // The hook attempts go on without limit while the radio is silent. What
    // the user does meanwhile: Cancel releases; + is refused; Exit releases,
    // closes and drops the link.
    void actingWhileHooking_data() {
        QTest::addColumn<QString>("act");
        QTest::newRow("Cancel") << "cancel";
        QTest::newRow("+ then Cancel") << "plus";
        QTest::newRow("Exit") << "exit";
    }
    void actingWhileHooking() {
        QFETCH(QString, act);
        Bench b;
        QVERIFY(b.open());
        b.focusBox(1);
        b.radio.setFaults(test::faults("silent"));
        b.radio.clearRecords();
        auto* status = b.win->findChild<QLabel*>("lblStatus");
        bool busyShown = false;
        b.duringHookAttempt(2, [&] {
            busyShown = status->text() == QStringLiteral("Attempting to hook TAV Radio") &&
                        b.button("cmdCancel")->isEnabled() && !b.button("cmdRead")->isEnabled() &&
                        !b.button("cmdWrite")->isEnabled() && b.win->box(0)->Locked();
            if (act == "exit") return b.button("cmdExit")->click();
            if (act == "plus") b.type('+');
            b.duringHookAttempt(3, [&] { b.button("cmdCancel")->click(); });
        });
        b.button("cmdRead")->click();
        QVERIFY(busyShown);
        const Bytes sent = hooked(act == "exit" ? 2 : 3, {0x01});  // then the release
        QCOMPARE(b.radio.received(), sent);
        QVERIFY(b.prompter.shown.isEmpty());
        if (act == "exit") {
            QVERIFY(!b.win->isVisible());
            QVERIFY(!b.port.isOpen());     // the link went away and closed the port
            b.button("cmdRead")->click();  // nothing runs after closing
            QCOMPARE(b.radio.received(), sent);
            return;
        }
        QCOMPARE(b.text(1), QStringLiteral("3F"));
        QCOMPARE(int(b.win->selectedBox()), 1);
        QVERIFY(b.button("cmdRead")->isEnabled() && !b.button("cmdCancel")->isEnabled());
        QVERIFY(!b.win->box(2)->Locked() && status->text().isEmpty());
    }

    // Up and Down, and Left or Right off either end of the digits, move to
    // the next box; editing alone never talks to the radio.
    void keysMoveBetweenBoxes() {
        Bench b;
        QVERIFY(b.open());
        b.radio.clearRecords();
        const auto up = Qt::Key_Up, down = Qt::Key_Down, left = Qt::Key_Left, right = Qt::Key_Right,
                   home = Qt::Key_Home, end = Qt::Key_End;
        const QList<std::tuple<int, QList<Qt::Key>, int>> moves{{0, {up}, 0},
                                                                {2, {down}, 2},
                                                                {1, {up}, 0},
                                                                {1, {down}, 2},
                                                                {1, {end, right}, 2},
                                                                {1, {home, left}, 0},
                                                                {1, {home, right, left}, 1},
                                                                {1, {home, right, right}, 1}};
        for (const auto& [from, keys, to] : moves) {
            b.focusBox(from);
            for (Qt::Key k : keys) QTest::keyClick(b.win->box(from)->editWin(), k);
            QVERIFY(b.win->box(to)->editWin()->hasFocus());
            QCOMPARE(int(b.win->selectedBox()), to);
        }
        QVERIFY(b.radio.received().empty());
    }

    void portThatWillNotOpen() {
        Bench b;
        b.port.setOpenFailure(OpenFailure::NoSuchDevice);
        frmTune win(b.ctx());
        QCOMPARE(test::boxLines(b.prompter.shown),
                 QStringList{"Unable to open Comm Port | COMM ERROR | Ok | None"});
        QCOMPARE(b.prompter.shown.first().detail, b.port.lastOpenError());  // why, as elsewhere
    }
};

}  // namespace

TAV_TEST(TestFrmTune);
#include "tst_frmtune.moc"
