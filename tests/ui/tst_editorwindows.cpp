// The main window reaches the global parameters window through its menu; the
// file commands store it while it is open, and every way out asks it.

#include "TestMain.h"
#include "UiFixture.h"
#include "ui/EditorWindows.h"
#include "ui/frmGlobals.h"

using namespace tav;
using namespace tav::test;

namespace {

enum class Exit { Menu, CloseBox, SessionEnd };

// Inside the file's namespace, as it uses the types above (unity builds).
class TestEditorWindows : public QObject {
    Q_OBJECT
    std::unique_ptr<UiRig> rig;
    std::unique_ptr<EditorWindows> windows;

    // The main window with the global parameters window open and read.
    frmGroups& openBoth() {
        frmGroups& w = rig->open();
        windows->attach(w);
        w.mnuGlobals->trigger();
        return w;
    }

private slots:
    void init() {
        rig = std::make_unique<UiRig>();
        windows =
            std::make_unique<EditorWindows>(rig->state, *rig->settings, rig->prompter, rig->clock);
    }
    void cleanup() {
        rig->closeWindow();  // its close asks the globals window through `windows`
        windows.reset();
        rig.reset();
    }

    // Every way out asks both questions once; Cancel at the second keeps
    // both windows open and the program running.
    void exitAsksAboutTheGlobalsAndCancelKeepsBothWindows_data() {
        QTest::addColumn<Exit>("way");
        QTest::newRow("File, Exit") << Exit::Menu;
        QTest::newRow("close box") << Exit::CloseBox;
        QTest::newRow("session end") << Exit::SessionEnd;
    }
    void exitAsksAboutTheGlobalsAndCancelKeepsBothWindows() {
        QFETCH(Exit, way);
        frmGroups& w = openBoth();
        QCOMPARE(windows->globals()->parentWidget(), static_cast<QWidget*>(&w));
        QTRY_VERIFY(!windows->globals()->readPending());
        windows->globals()->txtPassWord->setText("ABCDEF");
        rig->dialogAnswers = {rig->home.path() + "/radio.tav"};
        w.mnuSave->trigger();  // stores the open window's values
        QCOMPARE((QList<int>{rig->state.EEImage[11], rig->state.EEImage[13]}), (QList{0xAB, 0xEF}));
        // Returns whether the program may end.
        const auto leave = [&] {
            if (way == Exit::Menu) w.mnuExit->trigger();
            if (way == Exit::Menu) return !w.isVisible();
            return way == Exit::CloseBox ? w.close() : w.sessionEnding(true);
        };
        const QStringList bothQuestions{"Save before exit?", "Save Global Parameters?"};
        rig->prompter.answers = {MsgResult::No, MsgResult::Cancel};
        QVERIFY(!leave());
        QTest::qWait(20);  // nothing more is asked once the event loop runs
        QCOMPARE(rig->prompter.texts(), bothQuestions);
        QVERIFY(w.isVisible() && windows->globals()->isVisible() && rig->state.GlobalsWindowOpen);
        rig->prompter.shown.clear();
        rig->prompter.answers = {MsgResult::No, MsgResult::No};
        QVERIFY(leave());
        QCOMPARE(rig->prompter.texts(), bothQuestions);
        QVERIFY(!w.isVisible() && !rig->state.GlobalsWindowOpen);
    }

    // A session manager that gives no leave to ask gets no question, and the
    // windows stay as they are.
    void sessionEndWithoutLeaveToAskAsksNothing() {
        frmGroups& w = openBoth();
        auto* manager = qApp->findChild<QSessionManager*>();
        QVERIFY(manager && !manager->allowsInteraction());
        emit qApp->commitDataRequest(*manager);
        QVERIFY(rig->prompter.shown.isEmpty() && w.isVisible());
    }
};

}  // namespace

TAV_TEST(TestEditorWindows);
#include "tst_editorwindows.moc"
