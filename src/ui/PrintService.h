#pragma once
// The editor's printing: the unit data printout on the session's printer, and
// the printer setup dialog whose choices later printouts use. A computer
// without a printer gets a print preview, from which the printout can be
// saved as a PDF file.

#include <QString>
#include <memory>

#include "app/Ports.h"
#include "model/AppState.h"
#include "print/UnitReport.h"

class QPrinter;
class QWidget;

namespace tav {

class PrintService {
public:
    explicit PrintService(Prompter& prompter);
    virtual ~PrintService();
    PrintService(const PrintService&) = delete;
    PrintService& operator=(const PrintService&) = delete;

    // Prints the unit data printout of the images; false when nothing was
    // printed (the user has been told why, or closed the preview).
    bool PrintUnitData(QWidget* parent, const AppState& state, const QString& printFileName);
    // Where the last printout went, as the window reports it.
    QString destinationText();
    // The platform's printer dialog on the session's printer.
    void PrintSetup(QWidget* parent);

    // The printer kept for the session, made on first use.
    QPrinter& printer();

protected:
    // Whether the computer has any printer installed.
    virtual bool printersAvailable() const;
    // Shows the printout in a print preview; true when the user printed it.
    virtual bool preview(QWidget* parent, const UnitReport& report);

private:
    bool printDirectly(const UnitReport& report);

    Prompter& prompter_;
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace tav
