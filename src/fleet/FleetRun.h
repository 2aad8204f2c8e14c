#pragma once
// A fleet run: the log made ready for the job, one station per line, the
// run's heartbeat in the log while they work, the run ended in the log when
// the last station has ended. Lives in the thread that watches (tavctl's
// event loop, the editor's window); every station's state reaches it as a
// queued signal.

#include <QObject>
#include <QTimer>
#include <atomic>
#include <memory>
#include <vector>

#include "fleet/FleetLog.h"
#include "fleet/Station.h"

namespace tav::fleet {

// A station's line: the serial device `port`, or what `make` makes (then
// `port` is only its name).
struct StationLine {
    QString port;
    LineMaker make;
};

struct FleetTotals {
    int ok = 0, failed = 0, interrupted = 0;
    QStringList errors;  // "station N (PORT): why", for each station that could not go on
};

class FleetRun : public QObject {
    Q_OBJECT
public:
    explicit FleetRun(const FleetJob& job, QObject* parent = nullptr);
    // Stops every station still working, as "Stop now" does, and waits for it.
    ~FleetRun() override;

    // Opens the log, stores the template's plan there and registers this
    // process's run; false with the reason, nothing touched on any radio.
    bool prepare(const QString& templateSha, const FleetPlan& plan, QString* why);
    // Starts a station per line (after prepare()).
    void start(const QList<StationLine>& lines);
    // Raises the stop level; it never goes down during a run.
    void stop(StopLevel level);
    // Stops every station at once and waits until each has logged its radio
    // and ended; the run is ended in the log. Sends no finished().
    void stopAndWait();
    std::atomic<int>& stopLevel() { return stopLevel_; }
    bool running() const { return running_ > 0; }
    // Each station's tally, summed; complete once finished() was sent.
    FleetTotals totals() const;
    // The log as this run's own connection sees it (for counts and attempts).
    FleetLog& log() { return log_; }
    const FleetJob& job() const { return job_; }

signals:
    void stationChanged(const tav::fleet::StationStatus& status);
    void finished();

private:
    void stationEnded();

    FleetJob job_;
    FleetLog log_;
    std::atomic<int> stopLevel_{0};
    std::vector<std::unique_ptr<Station>> stations_;
    QStringList ports_;
    QTimer heartbeat_;
    int running_ = 0;
};

}  // namespace tav::fleet
