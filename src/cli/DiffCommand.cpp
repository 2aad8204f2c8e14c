#include "cli/DiffCommand.h"

#include "cli/Cli.h"
#include "cli/CliImage.h"
#include "cli/CommandLine.h"
#include "model/ImageDiff.h"

namespace tav::cli {

int printDifferences(const QString& verb, const QStringList& lines, int differs) {
    if (!printLines(verb, lines)) return kFileError;
    return lines.isEmpty() ? kOk : differs;
}

int runDiff(const CommandLine& cl) {
    AppState a, b;
    // Both are read, so that a problem with either is told at once.
    const bool readA = loadImageFile(cl.verb(), cl.operands()[0], a);
    const bool readB = loadImageFile(cl.verb(), cl.operands()[1], b);
    if (!readA || !readB) return kFileError;
    return printDifferences(cl.verb(), CompareImages(a, b), 1);
}

}  // namespace tav::cli
