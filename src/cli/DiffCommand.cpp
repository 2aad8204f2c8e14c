#include "cli/DiffCommand.h"

#include "cli/Cli.h"
#include "cli/CliImage.h"
#include "model/ImageDiff.h"

namespace tav::cli {

namespace {
const QString kUsage = QStringLiteral("tavctl diff A B");
}  // namespace

int printDifferences(const QStringList& lines, QTextStream& out) {
    for (const QString& line : lines) out << line << '\n';
    return lines.isEmpty() ? kOk : 1;
}

int runDiff(QStringList args, QTextStream& out, QTextStream& err) {
    if (!expectOperands(args, 2, kUsage, err)) return kUsage;
    AppState a, b;
    // Both are read, so that a problem with either is told at once.
    const bool readA = loadImageFile(args[0], a, err);
    const bool readB = loadImageFile(args[1], b, err);
    if (!readA || !readB) return kFileError;
    return printDifferences(CompareImages(a, b), out);
}

}  // namespace tav::cli
