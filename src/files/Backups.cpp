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
    static const QRegularExpression re(
        QStringLiteral("^([a-z]+)-(\\d{4}-\\d{2}-\\d{2}_\\d{2}-\\d{2}-\\d{2})(?:-(\\d+))?\\.tav$"));
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

}  // namespace

Backups::Backups(QString folder, int keep) : folder_(std::move(folder)), keep_(keep) {}

QString Backups::defaultFolder() {
    return userDataFolder() + QStringLiteral("/backups");
}

RadioFileResult Backups::save(const QString& kind, const AppState& state, const QDateTime& when,
                              QString* path) const {
    errno = 0;
    if (!QDir().mkpath(folder_)) {
        RadioFileResult failed;
        failed.status = RadioFileResult::SystemError;
        failed.errorNumber = ClassicFileErrorNumber(errno ? errno : EACCES, folder_);
        failed.description = QStringLiteral("%1 could not be created").arg(folder_);
        return failed;
    }
    const QString stamp = when.toString(kStampFormat);
    int taken = 0;
    for (const Entry& e : entries(folder_))
        if (e.stamp == stamp) taken = std::max(taken, std::max(e.counter, 1));
    const QString name = taken == 0
                             ? QStringLiteral("%1-%2.tav").arg(kind, stamp)
                             : QStringLiteral("%1-%2-%3.tav").arg(kind, stamp).arg(taken + 1);
    const QString full = QDir(folder_).filePath(name);
    if (path) *path = full;
    const RadioFileResult result = WriteRadioFile(full, state);
    if (result.ok()) prune();
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
