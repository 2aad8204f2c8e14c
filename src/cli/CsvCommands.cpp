#include "cli/CsvCommands.h"
#include "cli/Usage.h"

#include "cli/Cli.h"
#include "cli/CliImage.h"
#include "files/ChannelCsv.h"

namespace tav::cli {

namespace {
const QString kExportUsage = verbSynopsis("export-csv");
const QString kImportUsage = verbSynopsis("import-csv");
const QStringList kOutput{QStringLiteral("-o"), QStringLiteral("--output")};
}  // namespace

int runExportCsv(const QStringList& arguments) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = arguments;
    QString csvPath;
    if (!takeOption(args, kOutput, csvPath, err)) return kUsage;
    if (!expectOperands(args, 1, kExportUsage, err)) return kUsage;
    AppState state;
    if (!loadImageFile(args[0], state, err)) return kFileError;
    if (csvPath.isEmpty() || csvPath == QLatin1String("-")) {
        out << QString::fromUtf8(ExportChannelCsv(state));
        return kOk;
    }
    QString why;
    if (!ExportChannelCsvFile(state, csvPath, why)) {
        err << "tavctl: " << csvPath << ": " << why << '\n';
        return kFileError;
    }
    return kOk;
}

int runImportCsv(const QStringList& arguments) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = arguments;
    QString outPath;
    if (!takeOption(args, kOutput, outPath, err)) return kUsage;
    if (!expectOperands(args, 2, kImportUsage, err)) return kUsage;
    if (outPath.isEmpty()) {
        err << "tavctl: import-csv needs -o OUT\nusage: " << kImportUsage << '\n';
        return kUsage;
    }
    AppState state;
    if (!loadImageFile(args[0], state, err)) return kFileError;
    const CsvImportResult r = ImportChannelCsvFile(state, args[1]);
    if (!r.ok()) {
        for (const QString& e : r.errors) err << args[1] << ": " << e << '\n';
        err << "tavctl: nothing written\n";
        return kFileError;
    }
    if (!saveImageFile(outPath, state, err)) return kFileError;
    out << r.rows << " rows read, " << r.changedFields << " channel fields changed\n";
    return kOk;
}

}  // namespace tav::cli
