#include "cli/CliImage.h"

#include <QFileInfo>

#include "cli/CommandLine.h"

namespace tav::cli {

namespace {

QString why(const QString& path, const RadioFileResult& r) {
    switch (r.status) {
        case RadioFileResult::TooShort:
            return QStringLiteral("not a radio file (it holds %1 bytes, at least %2 are needed)")
                .arg(QFileInfo(path).size())
                .arg(kRadioFileMinimum);
        case RadioFileResult::NotAFile:
            return QStringLiteral("not a regular file");
        default:
            return r.description;
    }
}

}  // namespace

bool loadImageFile(const QString& verb, const QString& path, AppState& state) {
    const RadioFileResult r = ReadRadioFile(path, state);
    if (!r.ok()) complain(verb, QStringLiteral("cannot read %1: %2").arg(path, why(path, r)));
    return r.ok();
}

bool saveImageFile(const QString& verb, const QString& path, const AppState& state) {
    return reportSaved(verb, path, WriteRadioFile(path, state));
}

bool reportSaved(const QString& verb, const QString& path, const RadioFileResult& result) {
    if (!result.ok())
        complain(verb, QStringLiteral("cannot write %1: %2").arg(path, why(path, result)));
    return result.ok();
}

}  // namespace tav::cli
