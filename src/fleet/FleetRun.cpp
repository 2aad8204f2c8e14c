#include "fleet/FleetRun.h"

#include <QCoreApplication>
#include <QSysInfo>

namespace tav::fleet {

namespace {
constexpr int kHeartbeatMs = 5000;
// A run that has not shown life for this long is taken as gone.
constexpr int kStaleSeconds = 60;
}  // namespace

FleetRun::FleetRun(const FleetJob& job, QObject* parent)
    : QObject(parent), job_(job), log_(job.log, QStringLiteral("fleet-main")) {
    qRegisterMetaType<tav::fleet::StationStatus>();
    heartbeat_.setInterval(kHeartbeatMs);
    connect(&heartbeat_, &QTimer::timeout, this, [this] { log_.heartbeat(job_.run); });
}

FleetRun::~FleetRun() {
    stopAndWait();
}

void FleetRun::stopAndWait() {
    stop(StopLevel::Now);
    for (auto& s : stations_) s->wait();
    if (running_ == 0) return;
    running_ = 0;
    heartbeat_.stop();
    log_.endRun(job_.run);
}

bool FleetRun::prepare(const QString& templateSha, const FleetPlan& plan, QString* why) {
    job_.templateSha = templateSha;
    if (log_.open() && log_.prepareJob(templateSha, plan) &&
        log_.startRun(QSysInfo::machineHostName(), QCoreApplication::applicationPid(),
                      kStaleSeconds, &job_.run))
        return true;
    if (why) *why = log_.error();
    return false;
}

void FleetRun::start(const QList<StationLine>& lines) {
    for (int i = 0; i < lines.size(); ++i) {
        auto station = std::make_unique<Station>(i + 1, lines[i].port, job_, stopLevel_);
        if (lines[i].make) station->setLineMaker(lines[i].make);
        connect(station.get(), &Station::changed, this, &FleetRun::stationChanged);
        connect(station.get(), &QThread::finished, this, &FleetRun::stationEnded);
        stations_.push_back(std::move(station));
        ports_ << lines[i].port;
    }
    heartbeat_.start();
    for (auto& s : stations_) {
        ++running_;
        s->start();
    }
}

void FleetRun::stop(StopLevel level) {
    int now = stopLevel_.load();
    while (now < int(level) && !stopLevel_.compare_exchange_weak(now, int(level))) {
    }
}

void FleetRun::stationEnded() {
    // After stopAndWait() the stations' ends arrive with nothing left to do.
    if (running_ == 0 || --running_ > 0) return;
    heartbeat_.stop();
    for (auto& s : stations_) s->wait();
    log_.endRun(job_.run);
    emit finished();
}

FleetTotals FleetRun::totals() const {
    FleetTotals t;
    for (const auto& s : stations_) {
        const StationTally& st = s->tally();
        t.ok += st.ok;
        t.failed += st.failed;
        t.interrupted += st.interrupted;
        if (!st.error.isEmpty())
            t.errors << QStringLiteral("station %1 (%2): %3")
                            .arg(s->number())
                            .arg(ports_.value(s->number() - 1), st.error);
    }
    return t;
}

}  // namespace tav::fleet
