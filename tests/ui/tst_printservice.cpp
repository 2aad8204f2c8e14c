// Printing on a computer without printers: to the file Print Setup chose, or
// into the preview. What the pages hold is the printout's own test.

#include <QtPrintSupport>

#include "TestMain.h"
#include "UiFixture.h"
#include "ui/PrintService.h"

using namespace tav;

namespace {

struct NoPrinters : PrintService {
    using PrintService::PrintService;
    bool printersAvailable() const override { return false; }
};

// Runs `check` on the modal dialog that comes up next, then rejects it.
template <typename Dialog>
void onModal(std::function<void(Dialog*)> check) {
    QTimer::singleShot(0, [check] {
        if (auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget())) check(d);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dlg = qobject_cast<QDialog*>(w); dlg && dlg->isVisible()) dlg->reject();
    });
}

// Inside the file's namespace, as it uses the types above (unity builds).
class TestPrintService : public QObject {
    Q_OBJECT

private slots:
    // Ctrl+P: the status bar says where the printout went, or a box why not.
    void printsToTheChosenFile_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message");
        QTest::newRow("written") << "printout.pdf"
                                 << "";
        QTest::newRow("folder missing")
            << "/nonexistent/folder/printout.pdf"
            << "The printout could not be written to the file \"/nonexistent/folder/printout.pdf\"."
               " |  | Ok | Exclamation";
    }
    void printsToTheChosenFile() {
        QFETCH(QString, file);
        QFETCH(QString, message);
        test::UiRig rig;
        EditorServices s = rig.services();
        const QString path = file.startsWith(u'/') ? file : rig.home.path() + '/' + file;
        s.printService = std::make_shared<NoPrinters>(rig.prompter);
        s.printService->printer().setOutputFileName(path);  // as Print Setup leaves it
        frmGroups& w = rig.open(std::move(s));
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(test::boxLines(rig.prompter.shown).join(u'\n'), message);
        QCOMPARE(test::readFile(path).left(5), message.isEmpty() ? "%PDF-" : "");
        QCOMPARE(w.statusBar()->currentMessage(),
                 message.isEmpty() ? "The printout was written to the file \"" + path + "\"." : "");
    }

    // Print Setup shows the session's printer; with no file chosen and no
    // printer, Print shows the whole printout in the preview.
    void printSetupThenThePreview() {
        test::ScriptedPrompter prompter;
        NoPrinters service(prompter);
        QStringList seen;
        onModal<QPrintDialog>([&](QPrintDialog* d) {
            QCOMPARE(d->printer(), &service.printer());
            seen << d->windowTitle()
                 << d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->text();
        });
        service.PrintSetup(nullptr);
        onModal<QPrintPreviewDialog>([&](QPrintPreviewDialog* d) {
            auto* view = d->findChild<QPrintPreviewWidget*>();
            view->updatePreview();
            seen << d->windowTitle() << QString::number(view->pageCount());
        });
        service.printer().setOutputFormat(QPrinter::PdfFormat);
        QVERIFY(!service.PrintUnitData(nullptr, AppState(), QString()));
        QCOMPARE(seen, (QStringList{"Print Setup", "OK",
                                    "Unit Data Printout - no printer is installed; Print saves a "
                                    "PDF file",
                                    "8"}));
        QVERIFY(prompter.shown.isEmpty());
    }
};

}  // namespace

TAV_TEST(TestPrintService);
#include "tst_printservice.moc"
