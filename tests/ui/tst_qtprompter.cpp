// The desktop message box: text, title, buttons and the detail line that
// explains a failure (such as why a port could not be opened).

#include <QAbstractButton>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include "TestMain.h"
#include "ui/QtPrompter.h"

using namespace tav;

class TestQtPrompter : public QObject {
    Q_OBJECT

private slots:
    void showsTextTitleAndDetail() {
        QtPrompter prompter;
        QString text, title, detail;
        int buttons = 0;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            text = box->text();
            title = box->windowTitle();
            detail = box->informativeText();
            buttons = static_cast<int>(box->buttons().size());
            box->button(QMessageBox::Ok)->click();
        });
        const MsgResult r =
            prompter.show(QStringLiteral("Unable to open Comm Port"), QStringLiteral("COMM ERROR"),
                          MsgButtons::Ok, MsgIcon::None,
                          QStringLiteral("/dev/ttyUSB0 does not exist.\rSerial devices: none"));
        QCOMPARE(r, MsgResult::Ok);
        QCOMPARE(text, QStringLiteral("Unable to open Comm Port"));
        QCOMPARE(title, QStringLiteral("COMM ERROR"));
        QCOMPARE(detail, QStringLiteral("/dev/ttyUSB0 does not exist.\nSerial devices: none"));
        QCOMPARE(buttons, 1);
    }
};

TAV_TEST(TestQtPrompter);
#include "tst_qtprompter.moc"
