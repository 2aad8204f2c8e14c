#include "cli/Cli.h"
#include "cli/Usage.h"

#include <QTextStream>
#include <cstdio>

#include "app/AppInfo.h"
#include "cli/CsvCommands.h"
#include "cli/DiffCommand.h"
#include "cli/DumpCommand.h"
#include "cli/PrintCommand.h"
#include "cli/ReadCommand.h"
#include "cli/SimCommand.h"
#include "cli/VerifyCommand.h"
#include "cli/WriteCommand.h"

namespace tav::cli {

namespace {

struct Verb {
    const char* name;
    const char* summary;
    int (*run)(const QStringList& args);  // args: what follows the verb
};

// One line per verb.
const Verb kVerbs[] = {
    {"sim", "serve the virtual radio on a pseudo-terminal", runSim},
    {"dump", "print a radio file as the printout's text, or as JSON (--json)", runDump},
    {"diff", "list the differences between two radio files", runDiff},
    {"export-csv", "write a radio file's channels as CSV", runExportCsv},
    {"import-csv", "apply CSV channel rows to a radio file", runImportCsv},
    {"read", "read the whole radio into a radio file", runRead},
    {"write", "write a radio file to the radio", runWrite},
    {"print", "write the unit data printout of a radio file as a PDF file", runPrint},
    {"verify", "compare the radio with a radio file", runVerify},
};

void usage(QTextStream& out) {
    out << "usage: tavctl VERB [options]\n"
           "verbs:\n";
    for (const Verb& v : kVerbs)
        out << "  " << QString::fromLatin1(v.name).leftJustified(12) << v.summary << '\n';
}

}  // namespace

int run(const QStringList& arguments) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString verb = arguments.value(1);
    if (verb == QLatin1String("--version")) {
        out << "tavctl " << appVersion() << '\n';
        return kOk;
    }
    if (verb.isEmpty() || verb == QLatin1String("--help") || verb == QLatin1String("-h")) {
        usage(verb.isEmpty() ? err : out);
        return verb.isEmpty() ? kUsage : kOk;
    }
    for (const Verb& v : kVerbs) {
        if (verb == QLatin1String(v.name)) {
            const QStringList rest = arguments.mid(2);
            if (rest.contains(QLatin1String("--help")) || rest.contains(QLatin1String("-h"))) {
                out << verbHelp(v.name);
                return kOk;
            }
            out.flush();
            return v.run(arguments.mid(2));
        }
    }
    err << "tavctl: unknown verb '" << verb << "'\n";
    usage(err);
    return kUsage;
}

}  // namespace tav::cli
