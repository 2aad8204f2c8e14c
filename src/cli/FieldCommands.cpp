#include "cli/FieldCommands.h"

#include <QFile>

#include "cli/Cli.h"
#include "cli/CliImage.h"
#include "cli/CommandLine.h"
#include "model/FieldPaths.h"

namespace tav::cli {

namespace {

QString described(const FieldPathError& e) {
    return e.path.isEmpty() ? e.reason : e.path + QStringLiteral(": ") + e.reason;
}

// A refused edit file: where and why, and that the radio file stays.
int refuseEdits(const CommandLine& cl, const QString& editsPath, const FieldPathError& error) {
    complain(cl.verb(), editsPath + QStringLiteral(": ") + described(error));
    complain(cl.verb(), QStringLiteral("nothing written"));
    return kFileError;
}

// Applies the edits and saves the file when a field changed; says how many.
// `editsPath`: the file they came from; empty for the command line's.
int applyEdits(const CommandLine& cl, AppState& state, const QList<FieldAssignment>& edits,
               const QString& editsPath) {
    FieldPathError error;
    int changed = 0;
    if (!SetFields(state, edits, &error, &changed)) {
        if (!editsPath.isEmpty()) return refuseEdits(cl, editsPath, error);
        cl.fail(described(error));
        return kUsage;
    }
    if (changed > 0 && !saveImageFile(cl.verb(), cl.operands()[0], state)) return kFileError;
    return printLines(cl.verb(), {QStringLiteral("%1 fields changed").arg(changed)}) ? kOk
                                                                                     : kFileError;
}

bool readEdits(const CommandLine& cl, const QString& path, QByteArray& bytes) {
    QFile file;
    const bool opened = path == QLatin1String("-")
                            ? file.open(stdin, QIODevice::ReadOnly)
                            : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!opened) {
        complain(cl.verb(), QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        return false;
    }
    bytes = file.readAll();
    return true;
}

}  // namespace

int runGet(const CommandLine& cl) {
    AppState state;
    if (!loadImageFile(cl.verb(), cl.operands()[0], state)) return kFileError;
    QStringList out;
    for (const QString& path : cl.operands().mid(1)) {
        QStringList values;
        FieldPathError error;
        if (!GetField(state, path, &values, &error)) {
            cl.fail(described(error));
            return kUsage;
        }
        out << values;
    }
    return printLines(cl.verb(), out) ? kOk : kFileError;
}

int runSet(const CommandLine& cl) {
    QList<FieldAssignment> edits;
    for (const QString& text : cl.operands().mid(1)) {
        FieldAssignment edit;
        FieldPathError error;
        if (!ParseFieldAssignment(text, &edit, &error)) {
            cl.fail(described(error));
            return kUsage;
        }
        edits << edit;
    }
    AppState state;
    if (!loadImageFile(cl.verb(), cl.operands()[0], state)) return kFileError;
    return applyEdits(cl, state, edits, QString());
}

int runApply(const CommandLine& cl) {
    const QString& editsPath = cl.operands()[1];
    AppState state;
    if (!loadImageFile(cl.verb(), cl.operands()[0], state)) return kFileError;
    QByteArray json;
    if (!readEdits(cl, editsPath, json)) return kFileError;
    QList<FieldAssignment> edits;
    FieldPathError error;
    if (!FieldEditsFromJson(json, &edits, &error)) return refuseEdits(cl, editsPath, error);
    return applyEdits(cl, state, edits, editsPath);
}

}  // namespace tav::cli
