// The progress dialog and the bar, driven through the progress port as a
// transfer drives them: placement, Cancel's availability, and what Cancel
// does for reads and for writes.

#include "TestMain.h"
#include "UiFixture.h"
#include "ui/WindowPlacement.h"
#include "ui/frmProc.h"

using namespace tav;
using namespace tav::test;

class TestFrmProc : public QObject {
    Q_OBJECT

private slots:
    void cancel_data() {
        QTest::addColumn<bool>("write");
        QTest::addColumn<QList<MsgResult>>("answers");
        QTest::addColumn<bool>("cancelled");
        QTest::newRow("read: at once") << false << QList<MsgResult>{} << true;
        QTest::newRow("write: Yes") << true << QList<MsgResult>{MsgResult::Yes} << true;
        QTest::newRow("write: No") << true << QList<MsgResult>{MsgResult::No} << false;
    }
    void cancel() {
        QFETCH(bool, write);
        ScriptedPrompter prompter;
        QFETCH(QList<MsgResult>, answers);
        prompter.answers = answers;
        QWidget owner;
        owner.setGeometry(200, 150, 400, 300);
        owner.show();
        QProgressBar bar(&owner);
        frmProc dialog(&owner, prompter);
        WindowProgress progress(&bar, &dialog);
        dialog.Cancelled = true;  // left from the operation before
        progress.ShowForm(QStringLiteral("Please Wait - Writing Radio"), write);
        QVERIFY(dialog.isVisible() && !progress.Cancelled());
        const int offset = twipsToScreenPixels(500);
        QCOMPARE(dialog.pos(), owner.frameGeometry().topLeft() + QPoint(offset, offset));
        dialog.CancelButton->click();  // not yet enabled
        QVERIFY(!progress.Cancelled());
        progress.EnableCancel();
        dialog.CancelButton->click();
        QTEST(progress.Cancelled(), "cancelled");
        const QString question =
            "Warning:\rCancelling a write operation may leave the radio in an unpredictable "
            "state.\rAre you sure you want to cancel? |  | YesNo | Question";
        QCOMPARE(boxLines(prompter.shown), write ? QStringList{question} : QStringList{});
        QTest::keyClick(&dialog, Qt::Key_Escape);  // acts as the button, never just hides
        QVERIFY(dialog.isVisible());
        progress.EnableCancel();  // a new stage starts uncancelled
        QVERIFY(!progress.Cancelled());
        progress.HideForm();
        QVERIFY(!dialog.isVisible());
        progress.setMaximum(30000);
        progress.setValue(1234);
        progress.setVisible(true);
        QCOMPARE((QList<int>{bar.maximum(), bar.value(), bar.isHidden()}),
                 (QList<int>{30000, 1234, 0}));
    }
};

TAV_TEST(TestFrmProc);
#include "tst_frmproc.moc"
