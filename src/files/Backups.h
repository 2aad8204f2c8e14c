#pragma once
// Automatic backups of the radio image: every radio read saves what was read,
// every radio write first saves what is about to be written, as ordinary radio
// files in the per-user data folder. Names carry the kind and the local time,
// e.g. "read-2026-12-06_07-31-05.tav"; only the newest ones are kept.

#include <QDateTime>
#include <QString>
#include <QStringList>

#include "app/AppState.h"
#include "files/RadioFile.h"

namespace tav {

class Backups {
public:
    static constexpr int kKeep = 50;

    explicit Backups(QString folder = defaultFolder(), int keep = kKeep);
    // XDG_DATA_HOME/TAVEDWIN/backups.
    static QString defaultFolder();
    QString folder() const { return folder_; }

    // Saves `state` as "<kind>-<when>.tav" ("-2", "-3"... are added when a
    // backup of the same second exists), then deletes the oldest backups
    // beyond the number kept. `path` receives the file's name.
    RadioFileResult save(const QString& kind, const AppState& state, const QDateTime& when,
                         QString* path = nullptr) const;
    // The backup files in the folder, oldest first; other files are ignored.
    QStringList list() const;

private:
    void prune() const;

    QString folder_;
    int keep_;
};

}  // namespace tav
