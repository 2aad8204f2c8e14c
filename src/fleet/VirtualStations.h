#pragma once
// Practice stations: each a bench of virtual radios inside the process,
// taking turns on its line, for trying a fleet run and for training without
// a radio. Every radio that leaves a bench is kept as it left, so that what
// the run gave it can be looked at.

#include <QMap>
#include <QMutex>
#include <QPair>
#include <map>

#include "model/AppState.h"
#include "fleet/FleetRun.h"
#include "sim/FaultPlan.h"

namespace tav::fleet {

struct VirtualStationOptions {
    int radiosPerStation = 3;
    // Long enough to see a station's "Done — swap radio", short enough not to wait.
    double swapSeconds = 3.0;
    bool wireTiming = true;  // each byte takes its time on a 4800-baud line
    sim::FaultPlan faults;   // every radio's
    // Station (from 1) -> radio (from 1) -> bytes it hears before it is pulled.
    std::map<int, std::map<int, long>> pulls;
};

class VirtualStations {
public:
    explicit VirtualStations(const VirtualStationOptions& options = {}) : options_(options) {}
    VirtualStationOptions& options() { return options_; }

    // The lines of `count` stations, named "Virtual 1", "Virtual 2"...; the
    // radios of station S draw their images from seed 1000 * S + K.
    QList<StationLine> lines(int count);
    static QString portName(int station);

    // The radios that have left a bench so far, by (station, radio), holding
    // what they held as they left; and why each left ("released", "pulled").
    QMap<QPair<int, int>, AppState> departed() const;
    QMap<QPair<int, int>, QString> departures() const;

private:
    VirtualStationOptions options_;
    mutable QMutex mutex_;
    QMap<QPair<int, int>, AppState> departed_;
    QMap<QPair<int, int>, QString> why_;
};

}  // namespace tav::fleet
