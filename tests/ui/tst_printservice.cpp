#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "TestMain.h"
#include "TestSupport.h"
#include "ui/PrintService.h"

using namespace tav;

namespace {

// A computer with or without printers, whose preview only counts its uses.
class BenchPrintService : public PrintService {
public:
    using PrintService::PrintService;
    bool printers = false;
    int previews = 0;
    int previewPages = 0;

protected:
    bool printersAvailable() const override { return printers; }
    bool preview(QWidget*, const UnitReport& report) override {
        ++previews;
        previewPages = int(report.pages.size());
        return false;
    }
};

class PreviewOpener : public PrintService {
public:
    using PrintService::PrintService;
    bool open(const UnitReport& r) { return preview(nullptr, r); }
};

int pdfPages(const QString& pdf) {
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty()) return -1;
    QProcess p;
    p.start(pdftotext, {"-layout", pdf, "-"});
    if (!p.waitForFinished(30000)) return -2;
    return int(p.readAllStandardOutput().count('\f'));
}

// Runs `check` on the modal dialog that `open` brings up, then rejects it.
template <typename Dialog>
void onModal(std::function<void(Dialog*)> check) {
    QTimer::singleShot(0, [check] {
        auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (d) check(d);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dlg = qobject_cast<QDialog*>(w); dlg && dlg->isVisible()) dlg->reject();
    });
}

}  // namespace

class TestPrintService : public QObject {
    Q_OBJECT

private slots:
    void printsOnTheSessionPrinter() {
        QTemporaryDir dir;
        test::ScriptedPrompter prompter;
        BenchPrintService service(prompter);
        const QString pdf = dir.filePath("printout.pdf");
        // As Print Setup leaves it when the user prints to a file.
        service.printer().setOutputFileName(pdf);
        QVERIFY(service.PrintUnitData(nullptr, AppState(), "radio.tav"));
        QVERIFY(prompter.shown.isEmpty());
        QCOMPARE(service.previews, 0);
        QVERIFY(QFile::exists(pdf));
        const int pages = pdfPages(pdf);
        if (pages == -1) QSKIP("pdftotext is not installed");
        QCOMPARE(pages, 8);
    }

    void failingPrinterIsReported() {
        test::ScriptedPrompter prompter;
        BenchPrintService service(prompter);
        service.printer().setOutputFileName("/nonexistent/folder/printout.pdf");
        QVERIFY(!service.PrintUnitData(nullptr, AppState(), QString()));
        QCOMPARE(prompter.texts(), QStringList{"The printout could not be written to the file "
                                               "\"/nonexistent/folder/printout.pdf\"."});
        QCOMPARE(prompter.shown.first().icon, MsgIcon::Exclamation);
        QCOMPARE(prompter.shown.first().buttons, MsgButtons::Ok);
        QVERIFY(!prompter.shown.first().detail.isEmpty());
    }

    void noPrinterOffersThePreview() {
        test::ScriptedPrompter prompter;
        BenchPrintService service(prompter);
        QVERIFY(!service.PrintUnitData(nullptr, AppState(), QString()));
        QCOMPARE(service.previews, 1);
        QCOMPARE(service.previewPages, 8);
        QVERIFY(prompter.shown.isEmpty());
    }

    void previewShowsTheWholePrintout() {
        test::ScriptedPrompter prompter;
        int pages = -1;
        QString title;
        onModal<QPrintPreviewDialog>([&](QPrintPreviewDialog* d) {
            title = d->windowTitle();
            if (auto* view = d->findChild<QPrintPreviewWidget*>()) {
                view->updatePreview();
                pages = view->pageCount();
            }
        });
        // Called directly: whether this computer has a printer does not matter here.
        PreviewOpener opener(prompter);
        opener.printer().setOutputFormat(QPrinter::PdfFormat);
        QVERIFY(!opener.open(BuildUnitReport(AppState(), QString())));
        QCOMPARE(pages, 8);
        QVERIFY(title.contains("no printer"));
    }

    void printSetupIsTheSessionPrintersDialog() {
        test::ScriptedPrompter prompter;
        PrintService service(prompter);
        QPrinter* printer = &service.printer();
        QString title, ok;
        QPrinter* shownFor = nullptr;
        onModal<QPrintDialog>([&](QPrintDialog* d) {
            title = d->windowTitle();
            shownFor = d->printer();
            if (auto* box = d->findChild<QDialogButtonBox*>())
                ok = box->button(QDialogButtonBox::Ok)->text();
        });
        service.PrintSetup(nullptr);
        QCOMPARE(title, QString("Print Setup"));
        QCOMPARE(ok, QString("OK"));
        QCOMPARE(shownFor, printer);
        QCOMPARE(&service.printer(), printer);  // kept for the session
    }
};

TAV_TEST(TestPrintService);
#include "tst_printservice.moc"
