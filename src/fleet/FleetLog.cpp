#include "fleet/FleetLog.h"

#include <signal.h>

#include <QElapsedTimer>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>
#include <QUrl>
#include <QUrlQuery>
#include <cerrno>

namespace tav::fleet {

namespace {

// How long a statement waits for another bench holding the log file.
constexpr int kSqliteBusyMs = 30000;

// Whether process `pid` of this host is gone.
bool processGone(qint64 pid) {
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

const char* const kAttemptColumns =
    "id, run_id, plan_row, station, port, started, ended, ids_before, ids_after, template_sha, "
    "backup, words_written, words_considered, label_chars_written, label_chars_considered, "
    "verify, status, messages";

}  // namespace

QString LogTime(const QDateTime& t) {
    return t.toUTC().toString(Qt::ISODateWithMs);
}

std::optional<LogTarget> LogTarget::parse(const QString& text, QString* why) {
    LogTarget t;
    if (!text.startsWith(QLatin1String("postgresql://")) &&
        !text.startsWith(QLatin1String("postgres://"))) {
        t.driver = QStringLiteral("QSQLITE");
        t.database = text;
        return t;
    }
    const QUrl url(text, QUrl::StrictMode);
    const QUrlQuery query(url);
    t.driver = QStringLiteral("QPSQL");
    t.user = url.userName();
    t.password = url.password();
    t.host = query.hasQueryItem(QStringLiteral("host"))
                 ? query.queryItemValue(QStringLiteral("host"))
                 : url.host();
    t.port = query.hasQueryItem(QStringLiteral("port"))
                 ? query.queryItemValue(QStringLiteral("port")).toInt()
                 : url.port(-1);
    t.database = url.path().mid(1);
    if (!url.isValid() || t.database.isEmpty()) {
        if (why)
            *why = QStringLiteral(
                       "'%1' is not a database address of the form "
                       "postgresql://USER@HOST/DB")
                       .arg(text);
        return std::nullopt;
    }
    return t;
}

QString LogTarget::shown() const {
    if (!postgres()) return database;
    return QStringLiteral("postgresql://%1@%2/%3").arg(user, host, database);
}

FleetLog::FleetLog(const LogTarget& target, const QString& connection)
    : target_(target), connection_(connection) {}

FleetLog::~FleetLog() {
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        if (db.isOpen()) db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
}

bool FleetLog::open(Access access) {
    QSqlDatabase db = QSqlDatabase::addDatabase(target_.driver, connection_);
    if (!db.isValid()) {
        error_ = QStringLiteral("the Qt SQL driver %1 is not installed").arg(target_.driver);
        return false;
    }
    db.setDatabaseName(target_.database);
    if (target_.postgres()) {
        db.setUserName(target_.user);
        db.setPassword(target_.password);
        if (!target_.host.isEmpty()) db.setHostName(target_.host);
        if (target_.port > 0) db.setPort(target_.port);
    } else {
        // Several stations and benches write the file: wait for each other.
        QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kSqliteBusyMs);
        if (access == Access::Read) options += QStringLiteral(";QSQLITE_OPEN_READONLY");
        db.setConnectOptions(options);
    }
    if (!db.open()) {
        error_ = QStringLiteral("cannot open the log %1: %2")
                     .arg(target_.shown(), db.lastError().text());
        return false;
    }
    if (target_.postgres() || access == Access::Read) return true;
    // A file that is no database at all fails here, on its first read.
    return switchToWal() && exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
}

bool FleetLog::switchToWal() {
    // Two benches opening a new log at the same moment: while one turns it into
    // a write-ahead log the other is told "locked" at once, without SQLite's
    // busy wait, so it waits here as long as that wait would.
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        QSqlQuery q(QSqlDatabase::database(connection_, false));
        if (q.exec(QStringLiteral("PRAGMA journal_mode=WAL"))) return true;
        const bool busy = q.lastError().nativeErrorCode() == QLatin1String("5") ||
                          q.lastError().nativeErrorCode() == QLatin1String("6");
        if (!busy || waited.elapsed() > kSqliteBusyMs) {
            error_ = QStringLiteral("the log %1: %2").arg(target_.shown(), q.lastError().text());
            return false;
        }
        QThread::msleep(20);
    }
}

bool FleetLog::exec(const QString& sql, const QVariantList& binds, QVariantList* first,
                    int* affected) {
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    // Statements without values run as they are: PostgreSQL prepares no
    // transaction control.
    if (!binds.isEmpty() && !q.prepare(sql)) {
        error_ = QStringLiteral("the log %1: %2").arg(target_.shown(), q.lastError().text());
        return false;
    }
    for (const QVariant& v : binds) q.addBindValue(v);
    if (!(binds.isEmpty() ? q.exec(sql) : q.exec())) {
        error_ = QStringLiteral("the log %1: %2").arg(target_.shown(), q.lastError().text());
        return false;
    }
    if (affected) *affected = q.numRowsAffected();
    if (first) {
        first->clear();
        if (q.next())
            for (int i = 0; i < q.record().count(); ++i) first->append(q.value(i));
    }
    return true;
}

bool FleetLog::begin() {
    // SQLite takes the write lock now, not at the first write: two stations
    // never both read a row as free.
    return exec(target_.postgres() ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"));
}

bool FleetLog::commit() {
    if (exec(QStringLiteral("COMMIT"))) return true;
    rollback();
    return false;
}

void FleetLog::rollback() {
    const QString kept = error_;
    exec(QStringLiteral("ROLLBACK"));
    error_ = kept;
}

bool FleetLog::createTables() {
    const QString serial = target_.postgres() ? QStringLiteral("BIGSERIAL PRIMARY KEY")
                                              : QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    const QStringList ddl = {
        QStringLiteral("CREATE TABLE IF NOT EXISTS jobs (id INTEGER PRIMARY KEY, "
                       "template_sha TEXT NOT NULL, created TEXT NOT NULL)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS plan_rows (row_no INTEGER PRIMARY KEY, "
                       "plan_values TEXT NOT NULL, state TEXT NOT NULL, run_id BIGINT, "
                       "attempt_id BIGINT, done_at TEXT)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS runs (id %1, host TEXT NOT NULL, "
                       "pid BIGINT NOT NULL, started TEXT NOT NULL, heartbeat TEXT NOT NULL, "
                       "ended TEXT)")
            .arg(serial),
        QStringLiteral("CREATE TABLE IF NOT EXISTS attempts (id %1, run_id BIGINT, "
                       "plan_row INTEGER, station TEXT, port TEXT, started TEXT, ended TEXT, "
                       "ids_before TEXT, ids_after TEXT, template_sha TEXT, backup TEXT, "
                       "words_written INTEGER, words_considered INTEGER, "
                       "label_chars_written INTEGER, label_chars_considered INTEGER, "
                       "verify TEXT, status TEXT NOT NULL, messages TEXT)")
            .arg(serial),
        // The last guard: a plan row is done by one radio at most.
        QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS attempts_one_ok ON attempts "
                       "(plan_row) WHERE status = 'ok'"),
    };
    for (const QString& sql : ddl)
        if (!exec(sql)) return false;
    return true;
}

bool FleetLog::prepareJob(const QString& templateSha, const FleetPlan& plan) {
    if (!begin()) return false;
    const auto refuse = [this](const QString& why) {
        error_ = why;
        rollback();
        return false;
    };
    // Two benches starting at once: one creates the tables, the other waits.
    if (target_.postgres() && !exec(QStringLiteral("SELECT pg_advisory_xact_lock(20261207)")))
        return refuse(error_);
    if (!createTables()) return refuse(error_);
    QVariantList job;
    if (!exec(QStringLiteral("SELECT template_sha FROM jobs WHERE id = 1"), {}, &job))
        return refuse(error_);
    if (job.isEmpty()) {
        if (!exec(QStringLiteral("INSERT INTO jobs (id, template_sha, created) VALUES (1, ?, ?)"),
                  {templateSha, LogTime()}))
            return refuse(error_);
    } else if (job[0].toString() != templateSha) {
        return refuse(QStringLiteral("the log %1 belongs to the job of another template (SHA-256 "
                                     "%2); start a new log for this one")
                          .arg(target_.shown(), job[0].toString()));
    }
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    if (!q.exec(QStringLiteral("SELECT row_no, plan_values FROM plan_rows ORDER BY row_no")))
        return refuse(QStringLiteral("the log %1: %2").arg(target_.shown(), q.lastError().text()));
    int stored = 0;
    while (q.next()) {
        const int n = q.value(0).toInt();
        if (stored >= plan.rows.size() || plan.rows[stored].number != n ||
            RowText(plan.rows[stored]) != q.value(1).toString())
            return refuse(QStringLiteral("the log %1 holds another plan (row %2 differs); start "
                                         "a new log for this plan")
                              .arg(target_.shown())
                              .arg(n));
        ++stored;
    }
    q.finish();
    if (stored > 0 && stored != plan.rows.size())
        return refuse(QStringLiteral("the log %1 holds another plan (%2 rows, not %3)")
                          .arg(target_.shown())
                          .arg(stored)
                          .arg(plan.rows.size()));
    if (stored == 0)
        for (const PlanRow& row : plan.rows)
            if (!exec(
                    QStringLiteral(
                        "INSERT INTO plan_rows (row_no, plan_values, state) VALUES (?, ?, 'free')"),
                    {row.number, RowText(row)}))
                return refuse(error_);
    return commit();
}

bool FleetLog::endStaleRuns(const QString& host, int staleSeconds) {
    QList<qint64> stale;
    {
        QSqlQuery q(QSqlDatabase::database(connection_, false));
        if (!q.exec(
                QStringLiteral("SELECT id, host, pid, heartbeat FROM runs WHERE ended IS NULL"))) {
            error_ = QStringLiteral("the log %1: %2").arg(target_.shown(), q.lastError().text());
            return false;
        }
        const QDateTime now = QDateTime::currentDateTimeUtc();
        while (q.next()) {
            const QDateTime beat = QDateTime::fromString(q.value(3).toString(), Qt::ISODateWithMs);
            const bool gone = q.value(1).toString() == host && processGone(q.value(2).toLongLong());
            if (gone || !beat.isValid() || beat.secsTo(now) > staleSeconds)
                stale << q.value(0).toLongLong();
        }
    }
    const QString now = LogTime();
    for (qint64 run : stale) {
        const QString note =
            QStringLiteral("\nthe run ended before this radio was done (found by a later run)");
        if (!exec(QStringLiteral("UPDATE attempts SET status = 'interrupted', ended = ?, "
                                 "messages = COALESCE(messages, '') || ? "
                                 "WHERE run_id = ? AND status = 'writing'"),
                  {now, note, run}) ||
            !exec(QStringLiteral("UPDATE plan_rows SET state = 'free', run_id = NULL, "
                                 "attempt_id = NULL WHERE run_id = ? AND state = 'claimed'"),
                  {run}) ||
            !exec(QStringLiteral("UPDATE runs SET ended = ? WHERE id = ?"), {now, run}))
            return false;
    }
    return true;
}

bool FleetLog::startRun(const QString& host, qint64 pid, int staleSeconds, qint64* run) {
    if (!begin()) return false;
    QVariantList id;
    const QString now = LogTime();
    if (!endStaleRuns(host, staleSeconds) ||
        !exec(QStringLiteral("INSERT INTO runs (host, pid, started, heartbeat) VALUES (?, ?, ?, ?) "
                             "RETURNING id"),
              {host, pid, now, now}, &id) ||
        id.isEmpty()) {
        rollback();
        return false;
    }
    *run = id[0].toLongLong();
    return commit();
}

bool FleetLog::heartbeat(qint64 run) {
    return exec(QStringLiteral("UPDATE runs SET heartbeat = ? WHERE id = ?"), {LogTime(), run});
}

bool FleetLog::endRun(qint64 run) {
    return exec(QStringLiteral("UPDATE runs SET ended = ? WHERE id = ?"), {LogTime(), run});
}

bool FleetLog::claim(qint64 run, const QString& station, const QString& port,
                     const QDateTime& started, const QString& templateSha,
                     const AttemptResult& before, std::optional<Claim>* claim) {
    claim->reset();
    if (!begin()) return false;
    QVariantList row;
    const QString pick = QStringLiteral(
        "SELECT row_no, plan_values FROM plan_rows WHERE state = 'free' ORDER BY row_no LIMIT 1");
    if (!exec(target_.postgres() ? pick + QStringLiteral(" FOR UPDATE SKIP LOCKED") : pick, {},
              &row)) {
        rollback();
        return false;
    }
    if (row.isEmpty()) return commit();
    const std::optional<QList<FieldValue>> values = RowValues(row[1].toString());
    QVariantList id;
    if (!values) {
        error_ = QStringLiteral("the log %1: plan row %2 is damaged")
                     .arg(target_.shown())
                     .arg(row[0].toInt());
        rollback();
        return false;
    }
    if (!exec(QStringLiteral("INSERT INTO attempts (run_id, plan_row, station, port, started, "
                             "ids_before, template_sha, backup, status) "
                             "VALUES (?, ?, ?, ?, ?, ?, ?, ?, 'writing') RETURNING id"),
              {run, row[0], station, port, LogTime(started), before.idsBefore, templateSha,
               before.backup},
              &id) ||
        id.isEmpty() ||
        !exec(QStringLiteral("UPDATE plan_rows SET state = 'claimed', run_id = ?, attempt_id = ? "
                             "WHERE row_no = ?"),
              {run, id[0], row[0]})) {
        rollback();
        return false;
    }
    if (!commit()) return false;
    *claim = Claim{row[0].toInt(), id[0].toLongLong(), *values};
    return true;
}

bool FleetLog::finish(const Claim& claim, const AttemptResult& result) {
    if (!begin()) return false;
    AttemptResult r = result;
    const QString now = LogTime();
    int affected = 0;
    bool ok = true;
    if (r.status == QLatin1String("ok")) {
        ok = exec(QStringLiteral("UPDATE plan_rows SET state = 'done', done_at = ?, run_id = NULL "
                                 "WHERE row_no = ? AND state = 'claimed' AND attempt_id = ?"),
                  {now, claim.row, claim.attempt}, nullptr, &affected);
        if (ok && affected != 1) {
            r.status = QStringLiteral("failed");
            r.messages +=
                QStringLiteral(
                    "\nplan row %1 was taken back from this run before the radio was done")
                    .arg(claim.row);
        }
    } else {
        ok = exec(QStringLiteral("UPDATE plan_rows SET state = 'free', run_id = NULL, "
                                 "attempt_id = NULL WHERE row_no = ? AND attempt_id = ?"),
                  {claim.row, claim.attempt});
    }
    ok = ok && exec(QStringLiteral("UPDATE attempts SET ended = ?, ids_after = ?, "
                                   "words_written = ?, words_considered = ?, "
                                   "label_chars_written = ?, label_chars_considered = ?, "
                                   "verify = ?, status = ?, messages = ? WHERE id = ?"),
                    {now, r.idsAfter, r.wordsWritten, r.wordsConsidered, r.labelCharsWritten,
                     r.labelCharsConsidered, r.verify, r.status, r.messages, claim.attempt});
    if (!ok) {
        rollback();
        return false;
    }
    return commit();
}

bool FleetLog::logUnclaimed(qint64 run, const QString& station, const QString& port,
                            const QDateTime& started, const QString& templateSha,
                            const AttemptResult& r) {
    return exec(QStringLiteral("INSERT INTO attempts (run_id, station, port, started, ended, "
                               "ids_before, template_sha, backup, words_written, "
                               "words_considered, label_chars_written, label_chars_considered, "
                               "verify, status, messages) "
                               "VALUES (?, ?, ?, ?, ?, ?, ?, ?, 0, 0, 0, 0, ?, ?, ?)"),
                {run, station, port, LogTime(started), LogTime(), r.idsBefore, templateSha,
                 r.backup, r.verify, r.status, r.messages});
}

bool FleetLog::countBy(const QString& sql, QMap<QString, int>* out) {
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    if (!q.exec(sql)) {
        error_ = QStringLiteral("the log %1: %2").arg(target_.shown(), q.lastError().text());
        return false;
    }
    while (q.next()) (*out)[q.value(0).toString()] = q.value(1).toInt();
    return true;
}

bool FleetLog::counts(LogCounts* out) {
    QMap<QString, int> rows, attempts;
    if (!countBy(QStringLiteral("SELECT state, COUNT(*) FROM plan_rows GROUP BY state"), &rows) ||
        !countBy(QStringLiteral("SELECT status, COUNT(*) FROM attempts GROUP BY status"),
                 &attempts))
        return false;
    *out = LogCounts{};
    for (int n : rows) out->rows += n;
    out->done = rows.value(QStringLiteral("done"));
    out->claimed = rows.value(QStringLiteral("claimed"));
    out->free = rows.value(QStringLiteral("free"));
    out->ok = attempts.value(QStringLiteral("ok"));
    out->failed = attempts.value(QStringLiteral("failed"));
    out->interrupted = attempts.value(QStringLiteral("interrupted"));
    out->writing = attempts.value(QStringLiteral("writing"));
    return true;
}

bool FleetLog::rowsLeft(bool* left) {
    QVariantList n;
    if (!exec(QStringLiteral("SELECT COUNT(*) FROM plan_rows WHERE state <> 'done'"), {}, &n))
        return false;
    *left = !n.isEmpty() && n[0].toInt() > 0;
    return true;
}

bool FleetLog::attempts(QStringList* header, QList<QStringList>* rows) {
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    if (!q.exec(QStringLiteral("SELECT %1 FROM attempts ORDER BY id")
                    .arg(QLatin1String(kAttemptColumns)))) {
        error_ = QStringLiteral("the log %1: %2").arg(target_.shown(), q.lastError().text());
        return false;
    }
    header->clear();
    for (int i = 0; i < q.record().count(); ++i) *header << q.record().fieldName(i);
    rows->clear();
    while (q.next()) {
        QStringList r;
        for (int i = 0; i < header->size(); ++i) r << q.value(i).toString();
        rows->append(r);
    }
    return true;
}

}  // namespace tav::fleet
