// The desktop side of the ports: the progress dialog and bar, driven as a
// transfer drives them (placement, Cancel's availability, what Cancel does
// for reads and for writes), and the message box.

#include "TestMain.h"
#include "UiFixture.h"
#include "ui/QtPrompter.h"
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
        QCOMPARE((QList<int>{bar.maximum(), bar.value()}), (QList<int>{30000, 1234}));
    }
};

class TestQtPrompter : public QObject {
    Q_OBJECT

private slots:
    void showsTextTitleAndDetail() {
        QStringList seen;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            seen << box->text() << box->windowTitle() << box->informativeText()
                 << QString::number(box->buttons().size());
            box->button(QMessageBox::Ok)->click();
        });
        QCOMPARE(
            QtPrompter().show("Unable to open Comm Port", "COMM ERROR", MsgButtons::Ok,
                              MsgIcon::None, "/dev/ttyUSB0 does not exist.\rSerial devices: none"),
            MsgResult::Ok);
        QCOMPARE(seen, (QStringList{"Unable to open Comm Port", "COMM ERROR",
                                    "/dev/ttyUSB0 does not exist.\nSerial devices: none", "1"}));
    }
};

TAV_TEST(TestFrmProc);
TAV_TEST(TestQtPrompter);
#include "tst_frmproc.moc"
