#pragma once
// The Open, Save and Save As commands, the file named on the command line,
// the window caption that shows the file, the "File"/"LastOpen" setting and
// the list of recent files.
// Everything that belongs to the main window goes through FileHost.

#include <QString>
#include <QStringList>

#include "files/RadioFile.h"
#include "model/AppState.h"

namespace tav {

class Prompter;
class Settings;

// What the file commands need of the main window.
class FileHost {
public:
    virtual ~FileHost() = default;
    // Write_Group of the group the window shows (its selector's list index),
    // so the controls' and the grid's edits reach the blocks.
    virtual void storeShownGroup() = 0;
    // Write_Globals / Read_Globals; called only while GlobalsWindowOpen.
    virtual void storeGlobals() = 0;
    virtual void redisplayGlobals() = 0;
    // Read_Group of the shown group; the selection does not change.
    virtual void redisplayShownGroup() = 0;
    virtual void setCaption(const QString& text) = 0;
    // The image now matches the file just opened or saved.
    virtual void imageMatchesFile(bool opened) { (void)opened; }
    // The file dialog, preset with `presetPath` (may be empty), filters from
    // FileOpenSave::nameFilters(), the first one selected. Save mode hides the
    // read-only box; open mode also insists that the file exists. True with
    // the chosen path; false when cancelled.
    virtual bool chooseFile(bool saveMode, const QString& presetPath, QString& chosenPath) = 0;
    // The list of recent files changed (a file was opened or saved, or a
    // missing one taken off).
    virtual void recentFilesChanged() {}
};

class FileOpenSave {
public:
    FileOpenSave(AppState& state, FileHost& host, Prompter& prompter, Settings& settings);

    // Path being worked on; empty when none.
    QString CurrentFileName;
    // The fall-back when an operation fails: the path current before the
    // last dialog, or the path of the last successful open or save.
    QString ConfirmedFileName;
    // Path shown on the printout; set on every successful open or save.
    QString PrintFileName;

    // The dialog's filters: "TAV (*.tav)|*.tav|Frequency (*.frq)|*.frq|All (*.*)|*.*".
    static QString filterList();
    // The same as file-dialog name filters: "TAV (*.tav)", "Frequency (*.frq)",
    // "All (*)" (on this platform "*.*" would miss names without a dot).
    static QStringList nameFilters();
    // The whole argument text of a command line: the arguments after the
    // program, joined by single blanks.
    static QString commandLineText(const QStringList& arguments);
    static QString captionFor(const QString& path);
    // Why a path that is a folder, a device or a pipe is refused.
    static QString notAFileText();

    // Start-up: opens `argumentText` when it ends in ".tav" in any case;
    // any other name stays current without being opened. True when opened.
    bool OpenFromCommandLine(const QString& argumentText);
    bool OpenFile();
    // Opens an entry of the recent files list as the Open dialog would have;
    // a file that is no longer there is taken off the list, with a message.
    bool OpenRecent(const QString& path);
    static QString recentGoneText(const QString& path);
    // Saves to the current path, asking for one only when there is none
    // confirmed yet.
    bool SaveFile();
    bool SaveFileAs();
    bool ShowFileDialog(bool saveMode);
    bool SaveRadioFile();
    bool OpenRadioFile();
    void MarkFileCurrent();
    // The "File Error" box for a failed open or save; the current path falls
    // back to the confirmed one.
    void ReportFileError(int number, const QString& description);

private:
    // Reports a failed read or write; true when there was nothing to report.
    bool succeeded(const RadioFileResult& result);

    AppState& state_;
    FileHost& host_;
    Prompter& prompter_;
    Settings& settings_;
};

}  // namespace tav
