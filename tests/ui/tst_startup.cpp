// Start-up: the main window's place and state from the settings, the splash
// gone, and the About box's system information.

#include <QPushButton>
#include <QScreen>

#include "TestMain.h"
#include "UiFixture.h"
#include "ui/AboutBox.h"
#include "ui/ControlModule.h"
#include "ui/frmSplash.h"

using namespace tav;
using namespace tav::test;

class TestStartup : public QObject {
    Q_OBJECT
    std::unique_ptr<UiRig> rig;

    frmGroups& start() {
        rig->w = Main(rig->services());
        return *rig->w;
    }

private slots:
    void init() { rig = std::make_unique<UiRig>(); }
    void cleanup() {
        if (rig->w) {
            rig->prompter.answers = {MsgResult::No};
            rig->w->close();
        }
        rig.reset();
    }

    // With no place stored the window opens centred; one off every screen (a
    // monitor since unplugged) puts it on the primary screen.
    void opensOnTheScreenWithoutAUsablePlace_data() {
        QTest::addColumn<QString>("top");
        QTest::newRow("nothing stored") << QString();
        QTest::newRow("far right and down") << "900000";
        QTest::newRow("above and left") << "-90000";
    }
    void opensOnTheScreenWithoutAUsablePlace() {
        QFETCH(QString, top);
        if (!top.isEmpty())
            for (const char* key : {"GroupTop", "GroupLeft"})
                rig->settings->save(QStringLiteral("Position"), QLatin1String(key), top);
        rig->state.GlobalsWindowOpen = true;
        frmGroups& w = start();
        QVERIFY(w.isVisible());
        QVERIFY(!rig->state.GlobalsWindowOpen);
        QCOMPARE(w.windowState(), Qt::WindowNoState);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        if (top.isEmpty())
            QVERIFY((w.frameGeometry().center() - screen.center()).manhattanLength() <= 4);
        else
            QVERIFY(screen.contains(w.frameGeometry().topLeft()));
        for (QWidget* other : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<frmSplash*>(other) || !other->isVisible());
    }

    void storedPositionAndStateComeBack() {
        rig->settings->saveNumber(QStringLiteral("Position"), QStringLiteral("GroupTop"), 1500);
        rig->settings->saveNumber(QStringLiteral("Position"), QStringLiteral("GroupLeft"), 3000);
        frmGroups& w = start();
        QCOMPARE(w.pos(), QPoint(200, 100));
        rig->prompter.answers = {MsgResult::No};
        w.move(300, 60);
        QVERIFY(w.close());
        QCOMPARE(rig->settings->get(QStringLiteral("Position"), QStringLiteral("GroupTop")),
                 QStringLiteral("900"));
        QCOMPARE(rig->settings->get(QStringLiteral("Position"), QStringLiteral("GroupLeft")),
                 QStringLiteral("4500"));
        QCOMPARE(rig->settings->get(QStringLiteral("Position"), QStringLiteral("State")),
                 QStringLiteral("0"));
        rig->w.reset();
    }

    void maximisedKeepsTheLastNormalPlace() {
        rig->settings->saveInteger(QStringLiteral("Position"), QStringLiteral("State"), 2);
        rig->settings->saveNumber(QStringLiteral("Position"), QStringLiteral("GroupTop"), 1500);
        frmGroups& w = start();
        QVERIFY(w.windowState() & Qt::WindowMaximized);
        rig->prompter.answers = {MsgResult::No};
        QVERIFY(w.close());
        QCOMPARE(rig->settings->get(QStringLiteral("Position"), QStringLiteral("State")),
                 QStringLiteral("2"));
        QCOMPARE(rig->settings->get(QStringLiteral("Position"), QStringLiteral("GroupTop")),
                 QStringLiteral("1500"));
        rig->w.reset();
    }

    void aboutBox() {
        ScriptedPrompter prompter;
        AboutBox box(prompter);
        QVERIFY(!AboutBox::startSystemInfo({QStringLiteral("no-such-viewer-here")}));
        for (const QString& v : AboutBox::systemInfoViewers())
            if (!QStandardPaths::findExecutable(v).isEmpty()) QSKIP("a system viewer is installed");
        box.cmdSysInfo->click();
        QCOMPARE(prompter.texts(),
                 QStringList{QStringLiteral("System Information Is Unavailable At This Time")});
    }
};

TAV_TEST(TestStartup);
#include "tst_startup.moc"
