#include "cli/CliImage.h"

#include "files/RadioFile.h"

namespace tav::cli {

namespace {

void reportFileProblem(const QString& path, const RadioFileResult& r, QTextStream& err) {
    switch (r.status) {
        case RadioFileResult::Ok:
            return;
        case RadioFileResult::TooShort:
            err << "tavctl: Invalid File: " << path << '\n';
            return;
        case RadioFileResult::NotAFile:
            err << "tavctl: " << path << ": not a regular file\n";
            return;
        case RadioFileResult::SystemError:
            err << "tavctl: " << path << ": " << r.description << " (error " << r.errorNumber
                << ")\n";
            return;
    }
}

}  // namespace

bool loadImageFile(const QString& path, AppState& state, QTextStream& err) {
    const RadioFileResult r = ReadRadioFile(path, state);
    reportFileProblem(path, r, err);
    return r.ok();
}

bool saveImageFile(const QString& path, const AppState& state, QTextStream& err) {
    const RadioFileResult r = WriteRadioFile(path, state);
    reportFileProblem(path, r, err);
    return r.ok();
}

bool takeOption(QStringList& args, const QStringList& names, QString& value, QTextStream& err) {
    for (int i = 0; i < args.size(); ++i) {
        for (const QString& name : names) {
            if (name.startsWith(QLatin1String("--")) && args[i].startsWith(name + u'=')) {
                value = args[i].mid(name.size() + 1);
                args.removeAt(i);
                return true;
            }
            if (args[i] != name) continue;
            if (i + 1 >= args.size()) {
                err << "tavctl: " << name << " needs a value\n";
                return false;
            }
            value = args[i + 1];
            args.remove(i, 2);
            return true;
        }
    }
    return true;
}

bool takeFlag(QStringList& args, const QString& name) {
    return args.removeAll(name) > 0;
}

bool expectOperands(const QStringList& args, int count, const QString& usage, QTextStream& err) {
    for (const QString& a : args) {
        if (a.startsWith(u'-') && a.size() > 1) {
            err << "tavctl: unknown option '" << a << "'\nusage: " << usage << '\n';
            return false;
        }
    }
    if (args.size() == count) return true;
    err << "usage: " << usage << '\n';
    return false;
}

}  // namespace tav::cli
