#include "files/RecentFiles.h"

#include <QFileInfo>

#include "app/Settings.h"

namespace tav {

namespace {

const QString kFile = QStringLiteral("File");

QString keyOf(int index) {
    return QStringLiteral("Recent%1").arg(index + 1);
}

void store(Settings& settings, const QStringList& paths) {
    for (int i = 0; i < kRecentFileCount; ++i)
        settings.save(kFile, keyOf(i), i < paths.size() ? paths[i] : QString());
}

}  // namespace

QStringList RecentFilePaths(const Settings& settings) {
    QStringList paths;
    for (int i = 0; i < kRecentFileCount; ++i) {
        const QString path = settings.get(kFile, keyOf(i));
        if (!path.isEmpty() && !paths.contains(path)) paths << path;
    }
    return paths;
}

void AddRecentFile(Settings& settings, const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList paths = RecentFilePaths(settings);
    paths.removeAll(absolute);
    paths.prepend(absolute);
    store(settings, paths.mid(0, kRecentFileCount));
}

void RemoveRecentFile(Settings& settings, const QString& path) {
    QStringList paths = RecentFilePaths(settings);
    paths.removeAll(path);
    store(settings, paths);
}

QString RecentFileItemText(int index, const QString& path) {
    // A "&" in the name would otherwise underline the next letter instead.
    const QString name = QFileInfo(path).fileName().replace(QLatin1Char('&'), QLatin1String("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(name);
}

}  // namespace tav
