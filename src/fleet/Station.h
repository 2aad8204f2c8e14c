#pragma once
// A station: one serial port of a fleet run, in a thread of its own. The
// radio link waits in nested event loops, so each station creates its own
// serial line, clock, image and link in its thread, and its own connection
// to the log. It never opens a dialog: message boxes are answered by policy
// and become the radio's log text; what it does reaches the watcher as
// queued signals.
//
// The cycle: wait for a radio (a silent hook attempt every 2 s) -> read it
// whole (and its labels when the job has them) -> save that as the radio's
// backup -> claim the next plan row -> write the template with the row's
// values (the radio's protected bits kept by the write's masks) -> read back
// and compare -> log -> wait until the radio stops answering -> next radio.

#include <QString>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>

#include "fleet/FleetLog.h"
#include "fleet/FleetPlan.h"
#include "model/AppState.h"

namespace tav {
class clsTavCom;
class Clock;
class SerialLink;
class PolicyPrompter;
}  // namespace tav

namespace tav::fleet {

// What every station of a run does.
struct FleetJob {
    AppState templ;       // EEPROM, labels and power masks
    QString templateSha;  // of the template file, hexadecimal
    LogTarget log;
    qint64 run = 0;
    bool labels = false;
    bool changedOnly = false;
    bool verify = true;
    bool once = false;
    int retries = 0;
    QString traceDir;      // empty: no trace
    QString backupFolder;  // the radios' backups, never pruned
    bool perChannelBandwidth = true, perChannelPower = true;
    double probeSeconds = 2.0;  // between hook attempts while no radio answers
};

// Makes a station's serial line in the station's own thread; empty: the
// serial device the station is named after.
using LineMaker = std::function<std::unique_ptr<SerialLink>(Clock& clock)>;

// Ctrl-C: first finish the radios being written and stop, then stop at once.
enum class StopLevel { Run = 0, AfterRadio = 1, Now = 2 };

struct StationStatus {
    int station = 0;
    QString port;
    QString state;   // "waiting", "reading", "writing", "verifying", "swap", "ended", ...
    int radios = 0;  // radios this station has started on
    int done = 0;    // of which were programmed and logged "ok"
    QString id;      // the ANI/ID of the radio on it
    int percent = 0;
    // The last radio's end: its log status ("ok", "failed", "interrupted")
    // and, unless ok, why in one line; empty before the first radio ends.
    QString outcome, reason;
};

struct StationTally {
    int ok = 0, failed = 0, interrupted = 0;
    QString error;  // why the station could not go on; empty when it ended normally
};

class Station : public QThread {
    Q_OBJECT
public:
    Station(int number, const QString& port, const FleetJob& job, const std::atomic<int>& stopLevel,
            QObject* parent = nullptr);
    // Before start(): the line to drive instead of the serial device.
    void setLineMaker(LineMaker make) { makeLine_ = std::move(make); }

    // Valid once the thread has finished.
    const StationTally& tally() const { return tally_; }
    int number() const { return status_.station; }

signals:
    void changed(const tav::fleet::StationStatus& status);

protected:
    void run() override;

private:
    struct Bench;
    bool waitForRadio(Bench& b);
    void waitForDeparture(Bench& b);
    // One radio from the read to the log; false when the station must end.
    bool programRadio(Bench& b);
    bool verifyRadio(Bench& b, const AppState& before, const AppState& written, AttemptResult& r);
    // The whole radio (and its labels when the job has them) into the
    // bench's image, read again while the job's retries last.
    bool readRadio(Bench& b);
    bool record(Bench& b, const std::optional<Claim>& claim, const QDateTime& started,
                AttemptResult& r);
    void show(const QString& state, int percent = 0);
    StopLevel stop() const { return StopLevel(stopLevel_.load()); }
    // Ctrl-C: a read with nothing claimed yet stops at the first, anything at the second.
    bool cancelled() const {
        return stop() == StopLevel::Now || (stop() == StopLevel::AfterRadio && reading_);
    }
    friend class StationProgress;

    const FleetJob job_;
    const std::atomic<int>& stopLevel_;
    StationStatus status_;
    StationTally tally_;
    bool reading_ = false;  // a read, with nothing claimed yet: Ctrl-C may stop it
    LineMaker makeLine_;
};

}  // namespace tav::fleet

Q_DECLARE_METATYPE(tav::fleet::StationStatus)
