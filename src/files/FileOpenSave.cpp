#include "files/FileOpenSave.h"

#include <QFileInfo>

#include "app/Ports.h"
#include "app/Settings.h"
#include "files/RecentFiles.h"

namespace tav {

namespace {
const QString kFileError = QStringLiteral("File Error");
}

FileOpenSave::FileOpenSave(AppState& state, FileHost& host, Prompter& prompter, Settings& settings)
    : state_(state), host_(host), prompter_(prompter), settings_(settings) {}

QString FileOpenSave::filterList() {
    return QStringLiteral("TAV (*.tav)|*.tav|Frequency (*.frq)|*.frq|All (*.*)|*.*");
}

QStringList FileOpenSave::nameFilters() {
    // Pairs of "description|pattern"; the description already names the pattern.
    const QStringList parts = filterList().split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString f = parts[i];
        filters << f.replace(QStringLiteral("(*.*)"), QStringLiteral("(*)"));
    }
    return filters;
}

QString FileOpenSave::commandLineText(const QStringList& arguments) {
    return arguments.mid(1).join(QLatin1Char(' '));
}

QString FileOpenSave::captionFor(const QString& path) {
    return QStringLiteral("TAV File - ") + path + QStringLiteral("   TAV Editor");
}

bool FileOpenSave::OpenFromCommandLine(const QString& argumentText) {
    ConfirmedFileName.clear();
    CurrentFileName = argumentText;
    if (CurrentFileName.right(4).toUpper() != QLatin1String(".TAV")) return false;
    return OpenRadioFile();
}

bool FileOpenSave::ShowFileDialog(bool saveMode) {
    ConfirmedFileName = CurrentFileName;
    QString chosen;
    if (!host_.chooseFile(saveMode, CurrentFileName, chosen) || chosen.isEmpty()) return false;
    CurrentFileName = chosen;
    return true;
}

bool FileOpenSave::SaveFile() {
    if (!CurrentFileName.isEmpty() && !ConfirmedFileName.isEmpty()) return SaveRadioFile();
    return ShowFileDialog(true) && SaveRadioFile();
}

bool FileOpenSave::SaveFileAs() {
    return ShowFileDialog(true) && SaveRadioFile();
}

bool FileOpenSave::OpenFile() {
    return ShowFileDialog(false) && OpenRadioFile();
}

bool FileOpenSave::OpenRecent(const QString& path) {
    if (!QFileInfo::exists(path)) {
        RemoveRecentFile(settings_, path);
        host_.recentFilesChanged();
        prompter_.show(recentGoneText(path), kFileError, MsgButtons::Ok, MsgIcon::Exclamation);
        return false;
    }
    ConfirmedFileName = CurrentFileName;
    CurrentFileName = path;
    return OpenRadioFile();
}

QString FileOpenSave::recentGoneText(const QString& path) {
    return path + QStringLiteral(" is no longer there; it was taken off the recent files list.");
}

bool FileOpenSave::SaveRadioFile() {
    host_.storeShownGroup();
    if (state_.GlobalsWindowOpen) host_.storeGlobals();
    if (!succeeded(WriteRadioFile(CurrentFileName, state_))) return false;
    MarkFileCurrent();
    host_.imageMatchesFile(false);
    return true;
}

bool FileOpenSave::OpenRadioFile() {
    // The blocks are replaced only once the whole file has been read and
    // found good; a refused or failed open leaves them as they were.
    if (!succeeded(ReadRadioFile(CurrentFileName, state_))) return false;
    host_.redisplayShownGroup();
    if (state_.GlobalsWindowOpen) host_.redisplayGlobals();
    MarkFileCurrent();
    host_.imageMatchesFile(true);
    return true;
}

bool FileOpenSave::succeeded(const RadioFileResult& result) {
    switch (result.status) {
        case RadioFileResult::Ok:
            return true;
        case RadioFileResult::SystemError:
            ReportFileError(result.errorNumber, result.description);
            return false;
        case RadioFileResult::TooShort:
        case RadioFileResult::NotAFile:
            break;
    }
    QString text = QStringLiteral("Invalid File: ") + CurrentFileName;
    if (result.status == RadioFileResult::NotAFile) text += u'\r' + notAFileText();
    // Falling back keeps a later Save away from the refused path.
    CurrentFileName = ConfirmedFileName;
    prompter_.show(text, kFileError, MsgButtons::Ok, MsgIcon::Exclamation);
    return false;
}

QString FileOpenSave::notAFileText() {
    return QStringLiteral("It is a folder or a device, not a file.");
}

void FileOpenSave::MarkFileCurrent() {
    host_.setCaption(captionFor(CurrentFileName));
    settings_.save(QStringLiteral("File"), QStringLiteral("LastOpen"), CurrentFileName);
    ConfirmedFileName = CurrentFileName;
    PrintFileName = CurrentFileName;
    AddRecentFile(settings_, CurrentFileName);
    host_.recentFilesChanged();
}

void FileOpenSave::ReportFileError(int number, const QString& description) {
    CurrentFileName = ConfirmedFileName;
    prompter_.show(QStringLiteral("Error Number %1!\r").arg(number) + description, kFileError,
                   MsgButtons::Ok, MsgIcon::Exclamation);
    // Every file is opened and closed within one read or write, so none is
    // left open here, whatever the error (55, "already open", included).
}

}  // namespace tav
