// The File menu's channel CSV commands: every group's channels written out as
// a table and read back in, through the window's file dialog.

#include <QDir>
#include <QFileInfo>

#include "files/ChannelCsv.h"
#include "files/FileOpenSave.h"
#include "ui/frmGroups.h"

namespace tav {

namespace {

const QString kExportTitle = QStringLiteral("Export Channels");
const QString kImportTitle = QStringLiteral("Import Channels");
// A box taller than this many problems would not fit on a screen.
constexpr int kErrorsShown = 25;

QString badRowsText(const QStringList& errors) {
    QStringList shown = errors.mid(0, kErrorsShown);
    if (errors.size() > kErrorsShown)
        shown << QStringLiteral("... and %1 more.").arg(errors.size() - kErrorsShown);
    return shown.join(QLatin1Char('\n'));
}

// The last CSV file chosen; before any, the radio file's name with ".csv".
QString csvPreset(const QString& lastCsv, const QString& radioFile) {
    if (!lastCsv.isEmpty() || radioFile.isEmpty()) return lastCsv;
    const QFileInfo info(radioFile);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".csv"));
}

}  // namespace

bool frmGroups::chooseCsvFile(bool saveMode, QString& path) {
    if (!runFileDialog(saveMode, csvPreset(csvPath_, Files->CurrentFileName), path,
                       {QStringLiteral("CSV (*.csv)")}, QStringLiteral("csv")))
        return false;
    csvPath_ = path;
    return true;
}

void frmGroups::ExportChannels() {
    // The edits on screen belong in the table too.
    StoreCurrentGroup();
    QString path;
    if (!chooseCsvFile(true, path)) return;
    const RadioFileResult result = ExportChannelCsvFile(state(), path);
    if (result.ok()) return;
    const QString why = result.status == RadioFileResult::NotAFile ? FileOpenSave::notAFileText()
                                                                   : result.description;
    prompter().show(QStringLiteral("The channels could not be exported."), kExportTitle,
                    MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("%1: %2").arg(path, why));
}

void frmGroups::ImportChannels() {
    // Redisplaying afterwards must not throw away what was typed but not stored.
    StoreCurrentGroup();
    if (state().GlobalsWindowOpen) storeGlobals();
    QString path;
    if (!chooseCsvFile(false, path)) return;
    const CsvImportResult result = ImportChannelCsvFile(state(), path);
    if (!result.ok()) {
        prompter().show(QStringLiteral("The CSV file was not imported; nothing was changed."),
                        kImportTitle, MsgButtons::Ok, MsgIcon::Exclamation,
                        badRowsText(result.errors));
        return;
    }
    redisplayShownGroup();
    if (state().GlobalsWindowOpen) redisplayGlobals();
    prompter().show(QStringLiteral("%1 channel rows applied, %2 fields changed.")
                        .arg(result.rows)
                        .arg(result.changedFields),
                    kImportTitle, MsgButtons::Ok, MsgIcon::Information);
}

}  // namespace tav
