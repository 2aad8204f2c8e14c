#include "cli/PrintCommand.h"

#include "app/AppState.h"
#include "cli/Cli.h"
#include "cli/CliImage.h"
#include "cli/CommandLine.h"
#include "print/ReportPainter.h"
#include "print/UnitReport.h"

namespace tav::cli {

int runPrint(const CommandLine& cl) {
    const QString& path = cl.operands()[0];
    const QString output = cl.value("-o");
    AppState state;
    if (!loadImageFile(cl.verb(), path, state)) return kFileError;
    QString why;
    // The title names the file as it was given, as the editor names the file it opened.
    if (!WriteUnitReportPdf(BuildUnitReport(state, path), output, &why)) {
        complain(cl.verb(), QStringLiteral("cannot write %1: %2").arg(output, why));
        return kFileError;
    }
    return kOk;
}

}  // namespace tav::cli
