// Start-up: the main window's place and state from the settings, the splash
// gone, and the About box's system information.

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
    void cleanup() { rig.reset(); }

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
        QVERIFY(w.isVisible() && !rig->state.GlobalsWindowOpen);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        if (top.isEmpty())
            QVERIFY((w.frameGeometry().center() - screen.center()).manhattanLength() <= 4);
        else
            QVERIFY(screen.contains(w.frameGeometry().topLeft()));
        for (QWidget* other : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<frmSplash*>(other) || !other->isVisible());
    }

    // The place is kept in twips; a maximised window keeps its last normal place.
    void storedPlaceAndStateComeBack_data() {
        QTest::addColumn<int>("state");
        QTest::addColumn<QStringList>("stored");  // top, left, state
        QTest::newRow("normal, then moved") << 0 << QStringList{"900", "4500", "0"};
        QTest::newRow("maximised") << 2 << QStringList{"1500", "3000", "2"};
    }
    void storedPlaceAndStateComeBack() {
        QFETCH(int, state);
        rig->settings->saveNumber(QStringLiteral("Position"), QStringLiteral("GroupTop"), 1500);
        rig->settings->saveNumber(QStringLiteral("Position"), QStringLiteral("GroupLeft"), 3000);
        rig->settings->saveInteger(QStringLiteral("Position"), QStringLiteral("State"), state);
        frmGroups& w = start();
        QCOMPARE(bool(w.windowState() & Qt::WindowMaximized), state == 2);
        if (state == 0) QCOMPARE(w.pos(), QPoint(200, 100));
        if (state == 0) w.move(300, 60);
        rig->closeWindow();
        QStringList stored;
        for (const char* key : {"GroupTop", "GroupLeft", "State"})
            stored << rig->settings->get("Position", key);
        QTEST(stored, "stored");
    }

    void aboutBox() {
        ScriptedPrompter prompter;
        AboutBox box(prompter);
        QVERIFY(!AboutBox::startSystemInfo({QStringLiteral("no-such-viewer-here")}));
        for (const QString& v : AboutBox::systemInfoViewers())
            if (!QStandardPaths::findExecutable(v).isEmpty()) QSKIP("a system viewer is installed");
        box.cmdSysInfo->click();
        QCOMPARE(prompter.texts(), QStringList{"System Information Is Unavailable At This Time"});
    }
};

TAV_TEST(TestStartup);
#include "tst_startup.moc"
