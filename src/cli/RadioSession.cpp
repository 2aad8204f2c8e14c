#include "cli/RadioSession.h"
#include "cli/Usage.h"

#include <unistd.h>

#include <QTextStream>

namespace tav::cli {

namespace {
const QString kReadUsage = verbHelp("read");
const QString kWriteUsage = verbHelp("write");
}  // namespace

void complain(const char* verb, const QString& message) {
    QTextStream(stderr) << "tavctl " << verb << ": " << message << '\n';
}

bool parseRadioOptions(const QStringList& args, bool forWrite, RadioOptions& o) {
    const char* verb = forWrite ? "write" : "read";
    const auto bad = [&](const QString& why) {
        complain(verb, why);
        QTextStream(stderr) << (forWrite ? kWriteUsage : kReadUsage);
        return false;
    };
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto value = [&](QString& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        QString v;
        if (a == QLatin1String("--port")) {
            if (!value(o.port)) return bad(QStringLiteral("--port needs a device"));
        } else if (a == QLatin1String("--labels")) {
            o.labels = true;
        } else if (a == QLatin1String("--skip-global") && forWrite) {
            o.skipGlobal = true;
        } else if (a == QLatin1String("--verify") && forWrite) {
            o.verify = true;
        } else if (a == QLatin1String("--changed-only") && forWrite) {
            o.changedOnly = true;
        } else if (a == QLatin1String("--retries")) {
            bool ok = false;
            o.retries = value(v) ? v.toInt(&ok) : 0;
            if (!ok || o.retries < 0) return bad(QStringLiteral("--retries needs a count from 0"));
        } else if (a == QLatin1String("--trace")) {
            if (!value(o.trace)) return bad(QStringLiteral("--trace needs a file"));
        } else if (a == QLatin1String("-o") && !forWrite) {
            if (!value(o.file)) return bad(QStringLiteral("-o needs a file"));
        } else if (forWrite && !a.startsWith(QLatin1Char('-')) && o.file.isEmpty()) {
            o.file = a;
        } else {
            return bad(QStringLiteral("unexpected argument '%1'").arg(a));
        }
    }
    if (o.port.isEmpty()) return bad(QStringLiteral("--port is required"));
    if (o.file.isEmpty())
        return bad(forWrite ? QStringLiteral("a radio file is required")
                            : QStringLiteral("-o FILE is required"));
    return true;
}

RadioSession::RadioSession(const RadioOptions& o)
    : port_(o.port), prompter_(o.retries), progress_(::isatty(STDERR_FILENO) != 0) {
    SerialLink* line = &port_;
    if (!o.trace.isEmpty()) {
        traceFile_.setFileName(o.trace);
        if (!traceFile_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            complain("trace",
                     QStringLiteral("cannot create %1: %2").arg(o.trace, traceFile_.errorString()));
            ready_ = false;
            return;
        }
        tracer_ = std::make_unique<TracingSerialLink>(port_, clock_, traceFile_);
        line = tracer_.get();
    }
    link_ = std::make_unique<clsTavCom>(LinkContext{state_, *line, clock_, prompter_, progress_});
}

}  // namespace tav::cli
