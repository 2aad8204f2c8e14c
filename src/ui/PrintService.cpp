#include "ui/PrintService.h"

#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

#include "print/ReportPainter.h"

namespace tav {

PrintService::PrintService(Prompter& prompter) : prompter_(prompter) {}

PrintService::~PrintService() = default;

QPrinter& PrintService::printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setDocName(QStringLiteral("TAV Unit Data Printout"));
        printer_->setPageMargins(ReportMarginsMm(), QPageLayout::Millimeter);
    }
    return *printer_;
}

bool PrintService::printersAvailable() const {
    return !QPrinterInfo::availablePrinters().isEmpty();
}

bool PrintService::PrintUnitData(QWidget* parent, const AppState& state,
                                 const QString& printFileName) {
    const UnitReport report = BuildUnitReport(state, printFileName);
    QPrinter& device = printer();
    // Print Setup may have pointed the printer at a file; that needs no printer.
    const bool toFile = !device.outputFileName().isEmpty();
    if (toFile || printersAvailable()) return printDirectly(report);
    return preview(parent, report);
}

bool PrintService::printDirectly(const UnitReport& report) {
    QPrinter& device = printer();
    if (PaintUnitReport(report, device) && device.printerState() != QPrinter::Error) return true;
    const QString text =
        device.outputFileName().isEmpty()
            ? QStringLiteral("The printout could not be sent to the printer \"%1\".")
                  .arg(device.printerName())
            : QStringLiteral("The printout could not be written to the file \"%1\".")
                  .arg(device.outputFileName());
    prompter_.show(text, QString(), MsgButtons::Ok, MsgIcon::Exclamation,
                   QStringLiteral("Check that the printer is connected and switched on, or "
                                  "choose another printer or file in Print Setup."));
    return false;
}

QString PrintService::destinationText() {
    QPrinter& device = printer();
    return device.outputFileName().isEmpty()
               ? QStringLiteral("The printout was sent to the printer \"%1\".")
                     .arg(device.printerName())
               : QStringLiteral("The printout was written to the file \"%1\".")
                     .arg(device.outputFileName());
}

bool PrintService::preview(QWidget* parent, const UnitReport& report) {
    QPrintPreviewDialog dialog(&printer(), parent);
    dialog.setWindowTitle(
        QStringLiteral("Unit Data Printout - no printer is installed; Print saves a PDF file"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&report](QPrinter* p) { PaintUnitReport(report, *p); });
    // The preview closes as accepted also when its PDF file dialog was
    // cancelled; then nothing was written.
    return dialog.exec() == QDialog::Accepted &&
           (printer().outputFormat() == QPrinter::NativeFormat ||
            !printer().outputFileName().isEmpty());
}

void PrintService::PrintSetup(QWidget* parent) {
    QPrintDialog dialog(&printer(), parent);
    dialog.setWindowTitle(QStringLiteral("Print Setup"));
    // The printout always prints whole: no page ranges to offer.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    // This dialog only chooses; printing is the Print command's job.
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    dialog.exec();
}

}  // namespace tav
