#include "cli/PrintCommand.h"
#include "cli/Usage.h"

#include <QFileInfo>
#include <QTextStream>

#include "app/AppState.h"
#include "cli/Cli.h"
#include "files/RadioFile.h"
#include "print/ReportPainter.h"
#include "print/UnitReport.h"

namespace tav::cli {

namespace {

const QString kPrintUsage = verbHelp("print");

struct PrintOptions {
    QString file;
    QString output;
};

int usageError(const QString& why) {
    QTextStream err(stderr);
    err << "tavctl print: " << why << '\n' << kPrintUsage;
    return kUsage;
}

int fileError(const QString& why) {
    QTextStream err(stderr);
    err << "tavctl print: " << why << '\n';
    return kFileError;
}

// Returns kOk, or the exit status of the error it reported.
int parse(const QStringList& args, PrintOptions& o) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("-o") || a == QLatin1String("--output")) {
            if (i + 1 >= args.size()) return usageError(a + QStringLiteral(" needs a file name"));
            o.output = args[++i];
        } else if (a.startsWith(QLatin1String("--output="))) {
            o.output = a.mid(9);
        } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            return usageError(QStringLiteral("unknown option '%1'").arg(a));
        } else if (o.file.isEmpty()) {
            o.file = a;
        } else {
            return usageError(QStringLiteral("one radio file only ('%1')").arg(a));
        }
    }
    if (o.file.isEmpty()) return usageError(QStringLiteral("no radio file given"));
    if (o.output.isEmpty()) return usageError(QStringLiteral("no output file given (-o)"));
    return kOk;
}

QString readFailure(const QString& path, const RadioFileResult& r) {
    switch (r.status) {
        case RadioFileResult::TooShort:
            return QStringLiteral(
                       "'%1' is not a radio file: it holds %2 bytes, at least %3 are "
                       "needed")
                .arg(path)
                .arg(QFileInfo(path).size())
                .arg(kRadioFileMinimum);
        case RadioFileResult::NotAFile:
            return QStringLiteral("'%1' is not a file").arg(path);
        default:
            return QStringLiteral("cannot read '%1': %2").arg(path, r.description);
    }
}

}  // namespace

int runPrint(const QStringList& args) {
    if (args.contains(QLatin1String("-h")) || args.contains(QLatin1String("--help"))) {
        QTextStream(stdout) << kPrintUsage;
        return kOk;
    }
    PrintOptions o;
    if (const int status = parse(args, o); status != kOk) return status;
    AppState state;
    const RadioFileResult read = ReadRadioFile(o.file, state);
    if (!read.ok()) return fileError(readFailure(o.file, read));
    QString why;
    // The title names the file as it was given, as the editor names the file it opened.
    if (!WriteUnitReportPdf(BuildUnitReport(state, o.file), o.output, &why))
        return fileError(QStringLiteral("cannot write '%1': %2").arg(o.output, why));
    return kOk;
}

}  // namespace tav::cli
