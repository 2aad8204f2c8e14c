#include "files/Backups.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <tuple>

#include "app/DataFolder.h"

namespace tav {

namespace {

const QString kStampFormat = QStringLiteral("yyyy-MM-dd_HH-mm-ss");

// kind, time stamp, optional counter.
const QRegularExpression& backupName() {
    static const QRegularExpression re(QStringLiteral(
        "^([a-z][a-z0-9]*)-(\\d{4}-\\d{2}-\\d{2}_\\d{2}-\\d{2}-\\d{2})(?:-(\\d+))?\\.tav$"));
    return re;
}

struct Entry {
    QString name, stamp;
    int counter;
};

std::vector<Entry> entries(const QString& folder) {
    std::vector<Entry> out;
    const QStringList names = QDir(folder).entryList({QStringLiteral("*.tav")}, QDir::Files);
    for (const QString& name : names) {
        const QRegularExpressionMatch m = backupName().match(name);
        if (m.hasMatch()) out.push_back({name, m.captured(2), m.captured(3).toInt()});
    }
    // The counter orders the backups of one second; the first has none (0).
    std::sort(out.begin(), out.end(), [](const Entry& a, const Entry& b) {
        return std::tie(a.stamp, a.counter, a.name) < std::tie(b.stamp, b.counter, b.name);
    });
    return out;
}

RadioFileResult notCreated(const QString& path) {
    RadioFileResult failed;
    failed.status = RadioFileResult::SystemError;
    failed.errorNumber = ClassicFileErrorNumber(errno ? errno : EACCES, path);
    failed.description = QStringLiteral("%1 could not be created").arg(path);
    return failed;
}

}  // namespace

Backups::Backups(QString folder, int keep) : folder_(std::move(folder)), keep_(keep) {}

QString Backups::defaultFolder() {
    return userDataFolder() + QStringLiteral("/backups");
}

RadioFileResult Backups::save(const QString& kind, const AppState& state, const QDateTime& when,
                              QString* path) const {
    errno = 0;
    if (!QDir().mkpath(folder_)) return notCreated(folder_);
    // The name is taken by creating the file, which fails when another
    // thread or program took it first: a scan of the folder would let two
    // savers of one second pick the same name.
    const QString stamp = when.toString(kStampFormat);
    int taken = 0;  // the counter orders the backups of one second, whatever their kind
    for (const Entry& e : entries(folder_))
        if (e.stamp == stamp) taken = std::max(taken, std::max(e.counter, 1));
    QString full;
    for (int counter = taken + 1;; ++counter) {
        const QString name = counter == 1
                                 ? QStringLiteral("%1-%2.tav").arg(kind, stamp)
                                 : QStringLiteral("%1-%2-%3.tav").arg(kind, stamp).arg(counter);
        full = QDir(folder_).filePath(name);
        QFile reserve(full);
        if (reserve.open(QIODevice::WriteOnly | QIODevice::NewOnly)) break;
        if (!reserve.exists()) return notCreated(full);
    }
    if (path) *path = full;
    const RadioFileResult result = WriteRadioFile(full, state);
    if (!result.ok()) QFile::remove(full);
    if (result.ok() && keep_ > 0) prune();
    return result;
}

QStringList Backups::list() const {
    QStringList out;
    for (const Entry& e : entries(folder_)) out << QDir(folder_).filePath(e.name);
    return out;
}

void Backups::prune() const {
    const QStringList all = list();
    for (qsizetype i = 0; i + keep_ < all.size(); ++i) QFile::remove(all[i]);
}

}  // namespace tav
