#pragma once
// The radio files opened or saved last, most recent first, at most five, kept
// in the user's settings ("File"/"Recent1" to "Recent5") for the File menu.

#include <QString>
#include <QStringList>

namespace tav {

class Settings;

constexpr int kRecentFileCount = 5;

// The stored paths, most recent first; empty entries are skipped.
QStringList RecentFilePaths(const Settings& settings);
// Puts `path` (made absolute) first, dropping an older entry for the same
// file and whatever falls past the fifth.
void AddRecentFile(Settings& settings, const QString& path);
void RemoveRecentFile(Settings& settings, const QString& path);
// The menu text of entry `index` (0 first): "&1 name.tav".
QString RecentFileItemText(int index, const QString& path);

}  // namespace tav
