// The progress dialog: its placement, the Cancel button's availability, and
// what Cancel does for reads and for writes; and the bar it drives with it.

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

#include "TestMain.h"
#include "TestSupport.h"
#include "ui/WindowPlacement.h"
#include "ui/frmProc.h"

using namespace tav;
using namespace tav::test;

class TestFrmProc : public QObject {
    Q_OBJECT

private slots:
    void showFormPlacesAndResets() {
        ScriptedPrompter prompter;
        QWidget owner;
        owner.setGeometry(200, 150, 400, 300);
        owner.show();
        frmProc dialog(&owner, prompter);
        dialog.Cancelled = true;
        dialog.ShowForm(QStringLiteral("Please Wait - Reading Radio"), false);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("TAV Processing"));
        QCOMPARE(dialog.lblInfo->text(), QStringLiteral("Please Wait - Reading Radio"));
        QVERIFY(!dialog.Cancelled);
        QVERIFY(!dialog.CancelButton->isEnabled());
        QVERIFY(dialog.isVisible());
        const QPoint expected =
            owner.frameGeometry().topLeft() + QPoint(twipsToScreenPixels(500), twipsToScreenPixels(500));
        QCOMPARE(dialog.pos(), expected);
        // Cancel before EnableCancel is not possible.
        dialog.CancelButton->click();
        QVERIFY(!dialog.Cancelled);
        dialog.HideForm();
        QVERIFY(!dialog.isVisible());
    }

    void cancel_data() {
        QTest::addColumn<bool>("write");
        QTest::addColumn<QList<MsgResult>>("answers");
        QTest::addColumn<bool>("cancelled");
        QTest::addColumn<int>("questions");
        QTest::newRow("read: at once") << false << QList<MsgResult>{} << true << 0;
        QTest::newRow("write: Yes") << true << QList<MsgResult>{MsgResult::Yes} << true << 1;
        QTest::newRow("write: No") << true << QList<MsgResult>{MsgResult::No} << false << 1;
    }
    void cancel() {
        QFETCH(bool, write);
        QFETCH(QList<MsgResult>, answers);
        QFETCH(bool, cancelled);
        QFETCH(int, questions);
        ScriptedPrompter prompter;
        prompter.answers = answers;
        QWidget owner;
        frmProc dialog(&owner, prompter);
        dialog.ShowForm(QStringLiteral("Please Wait - Writing Radio"), write);
        dialog.EnableCancel();
        QVERIFY(dialog.CancelButton->isEnabled());
        dialog.CancelButton->click();
        QCOMPARE(dialog.Cancelled, cancelled);
        QCOMPARE(prompter.shown.size(), questions);
        if (questions) {
            const ShownBox& box = prompter.shown.first();
            QCOMPARE(box.text,
                     QStringLiteral("Warning:\rCancelling a write operation may leave the radio in "
                                    "an unpredictable state.\rAre you sure you want to cancel?"));
            QCOMPARE(box.title, QString());
            QCOMPARE(box.buttons, MsgButtons::YesNo);
            QCOMPARE(box.icon, MsgIcon::Question);
        }
        // Escape acts as the button, and never just hides the dialog.
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
        // A new operation starts uncancelled.
        dialog.ShowForm(QStringLiteral("again"), false);
        QVERIFY(!dialog.Cancelled);
    }

    void portDrivesBarAndDialog() {
        ScriptedPrompter prompter;
        QWidget owner;
        QProgressBar bar(&owner);
        frmProc dialog(&owner, prompter);
        WindowProgress progress(&bar, &dialog);
        progress.setMinimum(0);
        progress.setMaximum(30000);
        progress.setValue(1234);
        progress.setVisible(true);
        QCOMPARE(bar.maximum(), 30000);
        QCOMPARE(bar.value(), 1234);
        QVERIFY(!bar.isHidden());
        progress.ShowForm(QStringLiteral("Please Wait - Reading Radio"), false);
        progress.EnableCancel();
        dialog.CancelButton->click();
        QVERIFY(progress.Cancelled());
        progress.EnableCancel();
        QVERIFY(!progress.Cancelled());
        progress.HideForm();
        QVERIFY(!dialog.isVisible());
    }
};

TAV_TEST(TestFrmProc);
#include "tst_frmproc.moc"
