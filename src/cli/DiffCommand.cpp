#include "cli/DiffCommand.h"
#include "cli/Usage.h"

#include "cli/Cli.h"
#include "cli/CliImage.h"
#include "model/ImageDiff.h"

namespace tav::cli {

namespace {
const QString kDiffUsage = verbSynopsis("diff");
}  // namespace

int printDifferences(const QStringList& lines, QTextStream& out) {
    for (const QString& line : lines) out << line << '\n';
    return lines.isEmpty() ? kOk : 1;
}

int runDiff(const QStringList& arguments) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = arguments;
    if (!expectOperands(args, 2, kDiffUsage, err)) return kUsage;
    AppState a, b;
    // Both are read, so that a problem with either is told at once.
    const bool readA = loadImageFile(args[0], a, err);
    const bool readB = loadImageFile(args[1], b, err);
    if (!readA || !readB) return kFileError;
    return printDifferences(CompareImages(a, b), out);
}

}  // namespace tav::cli
