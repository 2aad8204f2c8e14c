#pragma once
// Automatic backups of the radio image: every radio read saves what was read,
// every radio write first saves what is about to be written, as ordinary radio
// files in the per-user data folder. Names carry the kind and the local time,
// e.g. "read-2026-12-06_07-31-05.tav"; only the newest ones are kept.

#include <QDateTime>
#include <QString>
#include <QStringList>

#include "files/RadioFile.h"
#include "model/AppState.h"

namespace tav {

class Backups {
public:
    static constexpr int kKeep = 50;

    // `keep` 0: every backup is kept (a fleet keeps one per radio).
    explicit Backups(QString folder = defaultFolder(), int keep = kKeep);
    // XDG_DATA_HOME/TAVEDWIN/backups.
    static QString defaultFolder();
    QString folder() const { return folder_; }

    // Saves `state` as "<kind>-<when>.tav" ("-2", "-3"... are added when a
    // file of that name exists, also one another thread has just made), then
    // deletes the oldest backups of the folder beyond the number kept. `kind`
    // is lower-case letters and digits, starting with a letter. `path`
    // receives the file's name.
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
