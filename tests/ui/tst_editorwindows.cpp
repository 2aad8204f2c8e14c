#include <QtTest>

#include "TestMain.h"
#include "UiFixture.h"
#include "ui/EditorWindows.h"
#include "ui/frmGlobals.h"

using namespace tav;
using namespace tav::test;

// The main window reaches the global parameters window through its menu, and
// the file commands store and redisplay it only while it is open.
class TestEditorWindows : public QObject {
    Q_OBJECT
    std::unique_ptr<UiRig> rig;
    std::unique_ptr<EditorWindows> windows;

private slots:
    void init() {
        rig = std::make_unique<UiRig>();
        windows = std::make_unique<EditorWindows>(rig->state, *rig->settings, rig->prompter,
                                                  rig->clock);
    }
    void cleanup() {
        windows.reset();
        rig.reset();
    }

    void globalParametersOpensTheWindowOwnedByTheMainWindow() {
        frmGroups& w = rig->open();
        windows->attach(w);
        QVERIFY(!windows->globals());
        w.mnuGlobals->trigger();
        QVERIFY(windows->globals());
        QVERIFY(rig->state.GlobalsWindowOpen);
        QCOMPARE(windows->globals()->parentWidget(), static_cast<QWidget*>(&w));
    }

    void saveStoresTheOpenWindowsValues() {
        rig->dialogAnswers = {rig->home.path() + "/radio.tav"};
        frmGroups& w = rig->open();
        windows->attach(w);
        w.mnuGlobals->trigger();
        QTRY_VERIFY(!windows->globals()->readPending());
        windows->globals()->txtPassWord->setText("ABCDEF");
        w.mnuSave->trigger();
        QCOMPARE(int(rig->state.EEImage[11]), 0xAB);
        QCOMPARE(int(rig->state.EEImage[13]), 0xEF);
    }

    void closingTheMainWindowAsksAboutTheGlobals() {
        frmGroups& w = rig->open();
        windows->attach(w);
        w.mnuGlobals->trigger();
        QTRY_VERIFY(!windows->globals()->readPending());
        rig->prompter.answers = {MsgResult::No, MsgResult::No};
        w.close();
        QCOMPARE(rig->prompter.texts(),
                 (QStringList{"Save before exit?", "Save Global Parameters?"}));
        QVERIFY(!rig->state.GlobalsWindowOpen);
    }
};

TAV_TEST(TestEditorWindows);
#include "tst_editorwindows.moc"
