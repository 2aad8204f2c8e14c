#include "cli/DiffCommand.h"

#include "cli/Cli.h"
#include "cli/CliImage.h"
#include "cli/CommandLine.h"
#include "model/ImageDiff.h"

namespace tav::cli {

int printDifferences(const QStringList& lines, QTextStream& out) {
    for (const QString& line : lines) out << line << '\n';
    return lines.isEmpty() ? kOk : 1;
}

int runDiff(const CommandLine& cl) {
    AppState a, b;
    // Both are read, so that a problem with either is told at once.
    const bool readA = loadImageFile(cl.verb(), cl.operands()[0], a);
    const bool readB = loadImageFile(cl.verb(), cl.operands()[1], b);
    if (!readA || !readB) return kFileError;
    QTextStream out(stdout);
    return printDifferences(CompareImages(a, b), out);
}

}  // namespace tav::cli
