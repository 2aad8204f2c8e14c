#include "cli/Cli.h"

#include <QTextStream>
#include <cstdio>

#include "app/AppInfo.h"

namespace tav::cli {

namespace {
void usage(QTextStream& out) {
    out << "usage: tavctl VERB [options]\n"
           "verbs:\n"
           "  sim       serve the virtual radio on a pseudo-terminal\n";
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
    err << "tavctl: unknown verb '" << verb << "'\n";
    usage(err);
    return kUsage;
}

}  // namespace tav::cli
