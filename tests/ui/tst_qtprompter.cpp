// The desktop message box: text, title, buttons and the detail line that
// explains a failure (such as why a port could not be opened).

#include "TestMain.h"
#include "UiFixture.h"
#include "ui/QtPrompter.h"

using namespace tav;

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

TAV_TEST(TestQtPrompter);
#include "tst_qtprompter.moc"
