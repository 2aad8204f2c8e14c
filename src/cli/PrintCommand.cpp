#include "cli/PrintCommand.h"

#include "cli/Cli.h"
#include "cli/CliImage.h"
#include "cli/CommandLine.h"
#include "model/AppState.h"
#include "print/ReportPainter.h"
#include "print/UnitReport.h"

namespace tav::cli {

int runPrint(const CommandLine& cl) {
    const QString& path = cl.operands()[0];
    const QString output = cl.value("-o");
    AppState state;
    if (!loadImageFile(cl.verb(), path, state)) return kFileError;
    // The title names the file as it was given, as the editor names the file it opened.
    const QByteArray pdf = UnitReportPdf(BuildUnitReport(state, path));
    if (pdf.isEmpty()) {
        complain(cl.verb(),
                 QStringLiteral("cannot write %1: The report could not be drawn.").arg(output));
        return kFileError;
    }
    return reportSaved(cl.verb(), output, SaveFileBytes(output, pdf)) ? kOk : kFileError;
}

}  // namespace tav::cli
