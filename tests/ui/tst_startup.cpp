// Start-up: the splash, the main window's place and state from the settings,
// and the About box.

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>

#include "TestMain.h"
#include "UiFixture.h"
#include "app/AppInfo.h"
#include "ui/AboutBox.h"
#include "ui/ControlModule.h"
#include "ui/HelpWindow.h"
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

    void noSettingsOpensCentredAndNormal() {
        rig->state.GlobalsWindowOpen = true;
        frmGroups& w = start();
        QVERIFY(w.isVisible());
        QVERIFY(!rig->state.GlobalsWindowOpen);
        QCOMPARE(w.windowState(), Qt::WindowNoState);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QVERIFY(std::abs(w.frameGeometry().center().x() - screen.center().x()) <= 2);
        QVERIFY(std::abs(w.frameGeometry().center().y() - screen.center().y()) <= 2);
        for (QWidget* top : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<frmSplash*>(top) || !top->isVisible());
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

    void splashTexts() {
        frmSplash splash;
        QCOMPARE(splash.lblVersion->text(), QStringLiteral("Version 1.1.6"));
        QCOMPARE(splash.lblCompanyProduct->text(), QStringLiteral("TAVEDWIN.EXE"));
        QCOMPARE(splash.lblProductName->text(), appTitle());
        QVERIFY(!splash.Picture1->pixmap().isNull());
    }

    void helpPageExplainsTheCommands() {
        HelpWindow help;
        const QString text = help.browser->toPlainText();
        for (const char* topic :
             {"Save before exit?", "Copy a row", "Virtual radio", "Offset",
              "Export Channels (CSV)...", "Import Channels (CSV)...", "Compare with Radio"})
            QVERIFY2(text.contains(QLatin1String(topic)), topic);
    }

    void aboutBox() {
        ScriptedPrompter prompter;
        AboutBox box(prompter);
        QCOMPARE(box.windowTitle(), QStringLiteral("About TAVEDWIN"));
        QCOMPARE(box.lblVersion->text(), QStringLiteral("Version 1.1.6"));
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
