#pragma once
// The fleet's log, shared by every station and every bench on the job: the
// plan rows and who has them, one row per radio attempt, the runs. Through Qt
// SQL, one connection per thread: an SQLite file (WAL, claims in BEGIN
// IMMEDIATE) or a PostgreSQL database (claims with SELECT ... FOR UPDATE
// SKIP LOCKED). A claim, a result and its attempt row change in one
// transaction, so a crash never leaves a plan row both free and done; and
// at most one attempt of a row can be "ok" (a unique index says so).

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

#include "fleet/FleetPlan.h"

namespace tav::fleet {

// Where the log is: a file path for SQLite, or
// postgresql://USER[:PASSWORD]@[HOST][:PORT]/DB[?host=SOCKETDIR&port=N].
struct LogTarget {
    QString driver;  // "QSQLITE" or "QPSQL"
    QString database, user, password, host;
    int port = -1;

    static std::optional<LogTarget> parse(const QString& text, QString* why);
    bool postgres() const { return driver == QLatin1String("QPSQL"); }
    QString shown() const;
};

// A plan row a station holds while it writes a radio.
struct Claim {
    int row = 0;
    qint64 attempt = 0;
    QList<FieldValue> values;
};

// What became of a radio.
struct AttemptResult {
    QString status;  // "ok", "failed", "interrupted"
    QString idsBefore, idsAfter, backup, verify, messages;
    int wordsWritten = 0, wordsConsidered = 0, labelCharsWritten = 0, labelCharsConsidered = 0;
};

struct LogCounts {
    int rows = 0, done = 0, claimed = 0, free = 0;
    int ok = 0, failed = 0, interrupted = 0, writing = 0;
};

class FleetLog {
public:
    // A connection of its own, named `connection` (one per thread).
    FleetLog(const LogTarget& target, const QString& connection);
    ~FleetLog();
    FleetLog(const FleetLog&) = delete;
    FleetLog& operator=(const FleetLog&) = delete;

    // Each is false with the reason in error() when the database failed.
    // Reading a log changes nothing in it, not even its journal mode.
    enum class Access { Write, Read };
    bool open(Access access = Access::Write);
    // Creates the tables on first use and stores the plan; a log that holds
    // another template or another plan is refused.
    bool prepareJob(const QString& templateSha, const FleetPlan& plan);
    // Registers this process's run; first ends the runs whose process is gone
    // (on this host) or silent for `staleSeconds`: their attempts still
    // writing become "interrupted", their rows free again.
    bool startRun(const QString& host, qint64 pid, int staleSeconds, qint64* run);
    bool heartbeat(qint64 run);
    bool endRun(qint64 run);

    // The lowest free plan row, claimed for a radio, with its attempt row
    // ("writing"). No row left: true with `claim` unset.
    bool claim(qint64 run, const QString& station, const QString& port, const QDateTime& started,
               const QString& templateSha, const AttemptResult& before,
               std::optional<Claim>* claim);
    // The attempt's end: "ok" marks the row done (false if the row was not
    // ours any more), anything else frees it for the next radio.
    bool finish(const Claim& claim, const AttemptResult& result);
    // An attempt that never came to claim a row (the read failed).
    bool logUnclaimed(qint64 run, const QString& station, const QString& port,
                      const QDateTime& started, const QString& templateSha,
                      const AttemptResult& result);

    bool counts(LogCounts* out);
    // Whether any plan row is not done yet (free, or claimed by a radio that
    // may still fail and give it back).
    bool rowsLeft(bool* left);
    // Every attempt, oldest first: a header, then one list of texts per attempt.
    bool attempts(QStringList* header, QList<QStringList>* rows);

    QString error() const { return error_; }

private:
    // Turns a SQLite log into a write-ahead log, waiting out a bench doing the same.
    bool switchToWal();
    bool exec(const QString& sql, const QVariantList& binds = {}, QVariantList* first = nullptr,
              int* affected = nullptr);
    bool begin();
    bool commit();
    void rollback();
    bool createTables();
    bool endStaleRuns(const QString& host, int staleSeconds);
    // The first column's texts of a grouping query, with the second's counts.
    bool countBy(const QString& sql, QMap<QString, int>* out);

    LogTarget target_;
    QString connection_;
    QString error_;
};

// Now, as the log keeps times: UTC, ISO 8601 with milliseconds.
QString LogTime(const QDateTime& t = QDateTime::currentDateTimeUtc());

}  // namespace tav::fleet
