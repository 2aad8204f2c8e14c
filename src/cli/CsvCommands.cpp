#include "cli/CsvCommands.h"

#include <QFile>
#include <QTextStream>

#include "cli/Cli.h"
#include "cli/CliImage.h"
#include "cli/CommandLine.h"
#include "files/ChannelCsv.h"

namespace tav::cli {

int runExportCsv(const CommandLine& cl) {
    AppState state;
    if (!loadImageFile(cl.verb(), cl.operands()[0], state)) return kFileError;
    const QString csvPath = cl.value("-o");
    if (csvPath.isEmpty() || csvPath == QLatin1String("-"))
        return printOut(cl.verb(), ExportChannelCsv(state)) ? kOk : kFileError;
    return reportSaved(cl.verb(), csvPath, ExportChannelCsvFile(state, csvPath)) ? kOk : kFileError;
}

int runImportCsv(const CommandLine& cl) {
    const QString& csvPath = cl.operands()[1];
    AppState state;
    if (!loadImageFile(cl.verb(), cl.operands()[0], state)) return kFileError;
    QFile csv(csvPath);
    if (!csv.open(QIODevice::ReadOnly)) {
        complain(cl.verb(), QStringLiteral("cannot read %1: %2").arg(csvPath, csv.errorString()));
        return kFileError;
    }
    const CsvImportResult r = ImportChannelCsv(state, csv.readAll());
    if (!r.ok()) {
        QTextStream err(stderr);
        for (const QString& e : r.errors) err << csvPath << ": " << e << '\n';
        err.flush();
        complain(cl.verb(), QStringLiteral("nothing written"));
        return kFileError;
    }
    if (!saveImageFile(cl.verb(), cl.value("-o"), state)) return kFileError;
    const QString summary =
        QStringLiteral("%1 rows read, %2 channel fields changed").arg(r.rows).arg(r.changedFields);
    return printLines(cl.verb(), {summary}) ? kOk : kFileError;
}

}  // namespace tav::cli
