#include "cli/FleetCommand.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QEventLoop>
#include <QFile>
#include <QSet>
#include <QSocketNotifier>
#include <QSysInfo>
#include <QTextStream>
#include <QTimer>
#include <atomic>
#include <csignal>
#include <memory>

#include "app/QtSerialLink.h"
#include "app/Settings.h"
#include "cli/Cli.h"
#include "cli/CliImage.h"
#include "cli/CommandLine.h"
#include "cli/FleetTable.h"
#include "files/Backups.h"
#include "files/CsvText.h"
#include "fleet/FleetLog.h"
#include "fleet/FleetPlan.h"
#include "fleet/FleetRun.h"

namespace tav::cli {

namespace {

using namespace tav::fleet;

const QString kDefaultLog = QStringLiteral("fleet-log.sqlite");

int interruptPipe[2] = {-1, -1};

void wakeInterruptWatch(int) {
    const char c = 0;
    const ssize_t n = ::write(interruptPipe[1], &c, 1);
    (void)n;
}

// Ctrl-C, counted by the event loop: each one raises the stop level.
class InterruptWatch {
public:
    explicit InterruptWatch(std::atomic<int>& level) : level_(level) {
        if (::pipe2(interruptPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
        notifier_ = std::make_unique<QSocketNotifier>(interruptPipe[0], QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
            char buf[16];
            while (::read(interruptPipe[0], buf, sizeof buf) > 0)
                level_ = std::min(level_.load() + 1, int(StopLevel::Now));
        });
        struct sigaction sa {};
        sa.sa_handler = wakeInterruptWatch;
        sigemptyset(&sa.sa_mask);
        ::sigaction(SIGINT, &sa, &previous_);
    }
    ~InterruptWatch() {
        ::sigaction(SIGINT, &previous_, nullptr);
        notifier_.reset();
        for (int& fd : interruptPipe) {
            if (fd >= 0) ::close(fd);
            fd = -1;
        }
    }

private:
    std::atomic<int>& level_;
    std::unique_ptr<QSocketNotifier> notifier_;
    struct sigaction previous_ {};
};

QString fileSha256(const QString& path) {
    QFile f(path);
    QCryptographicHash h(QCryptographicHash::Sha256);
    if (f.open(QIODevice::ReadOnly)) h.addData(&f);
    return QString::fromLatin1(h.result().toHex());
}

bool takePlan(const CommandLine& cl, int ports, FleetPlan& plan, int& status) {
    status = kUsage;
    if (cl.has("--plan") == cl.has("--ani-from"))
        return cl.fail(QStringLiteral("give either --plan FILE or --ani-from HEX"));
    QString why;
    if (cl.has("--plan")) {
        status = kFileError;
        QFile f(cl.value("--plan"));
        if (!f.open(QIODevice::ReadOnly)) {
            complain(cl.verb(),
                     QStringLiteral("cannot read %1: %2").arg(f.fileName(), f.errorString()));
            return false;
        }
        if (PlanFromCsv(QString::fromUtf8(f.readAll()), plan, &why)) return true;
        complain(cl.verb(),
                 QStringLiteral("the plan %1: %2; nothing written").arg(f.fileName(), why));
        return false;
    }
    if (!cl.has("--count") && !cl.has("--once"))
        return cl.fail(QStringLiteral("--ani-from needs --count N (how many radios)"));
    status = kFileError;
    if (!PlanFromAniRange(cl.value("--ani-from"), cl.count("--ani-step", 1),
                          cl.count("--count", ports), plan, &why)) {
        complain(cl.verb(), why);
        return false;
    }
    return true;
}

// Every port there and free, before any radio is touched.
bool checkPorts(const CommandLine& cl, const QStringList& ports) {
    for (const QString& p : ports) {
        QtSerialLink line(p);
        if (!line.open()) {
            complain(cl.verb(), QStringLiteral("cannot open %1: %2").arg(p, line.lastOpenError()));
            return false;
        }
        line.close();
    }
    return true;
}

std::optional<LogTarget> logTarget(const CommandLine& cl, const QString& text) {
    QString why;
    std::optional<LogTarget> t = LogTarget::parse(text, &why);
    if (!t) complain(cl.verb(), why);
    return t;
}

// Runs the stations until every one has ended.
FleetTotals runStations(const QStringList& ports, FleetRun& run) {
    InterruptWatch interrupts(run.stopLevel());
    FleetTable table(ports, ::isatty(STDERR_FILENO) != 0);
    QEventLoop loop;
    QObject::connect(&run, &FleetRun::stationChanged, &table, &FleetTable::update);
    QObject::connect(&run, &FleetRun::finished, &loop, &QEventLoop::quit);
    QList<StationLine> lines;
    for (const QString& p : ports) lines.append(StationLine{p, {}});
    run.start(lines);
    loop.exec();
    table.flush();
    return run.totals();
}

}  // namespace

int runFleet(const CommandLine& cl) {
    const QStringList ports = cl.value("--ports").split(u',', Qt::SkipEmptyParts);
    if (ports.isEmpty()) return cl.fail(QStringLiteral("--ports names no device")), kUsage;
    if (QSet<QString>(ports.begin(), ports.end()).size() != ports.size())
        return cl.fail(QStringLiteral("--ports names a device twice")), kUsage;
    FleetJob job;
    const QString templatePath = cl.operands().value(0);
    if (!loadImageFile(cl.verb(), templatePath, job.templ)) return kFileError;
    FleetPlan plan;
    int status = kOk;
    if (!takePlan(cl, ports.size(), plan, status)) return status;
    QString why;
    if (!CheckPlan(job.templ, plan, &why)) {
        complain(cl.verb(),
                 QStringLiteral("the plan: ") + why + QStringLiteral("; nothing written"));
        return kFileError;
    }
    const std::optional<LogTarget> target = logTarget(cl, cl.value("--log", kDefaultLog));
    if (!target) return kUsage;
    if (!checkPorts(cl, ports)) return kRadioFailure;
    const Settings settings;
    job.log = *target;
    job.labels = cl.has("--labels");
    job.changedOnly = cl.has("--changed-only");
    job.verify = !cl.has("--no-verify");
    job.once = cl.has("--once");
    job.retries = cl.count("--retries", 0);
    job.traceDir = cl.value("--trace");
    job.backupFolder = Backups::defaultFolder() + QStringLiteral("/fleet");
    job.perChannelBandwidth = settings.perChannelBandwidth();
    job.perChannelPower = settings.perChannelPower();
    FleetRun run(job);
    if (!run.prepare(fileSha256(templatePath), plan, &why)) {
        complain(cl.verb(), why + QStringLiteral("; nothing written"));
        return kFileError;
    }
    const FleetTotals t = runStations(ports, run);
    FleetLog& log = run.log();
    LogCounts counts;
    QTextStream err(stderr);
    for (const QString& e : t.errors) err << "tavctl fleet run: " << e << '\n';
    err << QStringLiteral("radios: %1 ok, %2 failed, %3 interrupted")
               .arg(t.ok)
               .arg(t.failed)
               .arg(t.interrupted);
    if (log.counts(&counts))
        err << QStringLiteral("; plan rows: %1 done, %2 left of %3")
                   .arg(counts.done)
                   .arg(counts.free + counts.claimed)
                   .arg(counts.rows);
    err << '\n';
    return t.failed + t.interrupted == 0 && t.errors.isEmpty() ? kOk : kRadioFailure;
}

namespace {

// The log named by the operand, opened; null after saying why.
std::unique_ptr<FleetLog> openLog(const CommandLine& cl) {
    const std::optional<LogTarget> target = logTarget(cl, cl.operands().value(0));
    if (!target) return nullptr;
    if (!target->postgres() && !QFile::exists(target->database)) {
        complain(cl.verb(), QStringLiteral("%1 does not exist").arg(target->database));
        return nullptr;
    }
    auto log = std::make_unique<FleetLog>(*target, QStringLiteral("fleet-query"));
    if (!log->open(FleetLog::Access::Read)) {
        complain(cl.verb(), log->error());
        return nullptr;
    }
    return log;
}

}  // namespace

int runFleetStatus(const CommandLine& cl) {
    const std::unique_ptr<FleetLog> log = openLog(cl);
    LogCounts c;
    if (!log || !log->counts(&c)) {
        if (log) complain(cl.verb(), log->error());
        return kFileError;
    }
    const QString status = QStringLiteral(
                               "plan rows: %1 (%2 done, %3 claimed, %4 left)\n"
                               "attempts: %5 ok, %6 failed, %7 interrupted, %8 writing\n")
                               .arg(c.rows)
                               .arg(c.done)
                               .arg(c.claimed)
                               .arg(c.free)
                               .arg(c.ok)
                               .arg(c.failed)
                               .arg(c.interrupted)
                               .arg(c.writing);
    return printOut(cl.verb(), status.toUtf8()) ? kOk : kFileError;
}

int runFleetLog(const CommandLine& cl) {
    const std::unique_ptr<FleetLog> log = openLog(cl);
    QStringList header;
    QList<QStringList> rows;
    if (!log || !log->attempts(&header, &rows)) {
        if (log) complain(cl.verb(), log->error());
        return kFileError;
    }
    QString out;
    const bool csv = cl.has("--csv");
    const auto put = [&out, csv](QStringList fields) {
        if (csv) {
            out += CsvLine(fields);
            return;
        }
        // One line per attempt: the messages' line breaks shown as " | ".
        for (QString& f : fields) f.replace(u'\n', QStringLiteral(" | "));
        out += fields.join(u'\t') + u'\n';
    };
    put(header);
    for (const QStringList& r : rows) put(r);
    return printOut(cl.verb(), out.toUtf8()) ? kOk : kFileError;
}

}  // namespace tav::cli
