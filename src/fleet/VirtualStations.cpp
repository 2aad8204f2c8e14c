#include "fleet/VirtualStations.h"

#include "sim/RadioImage.h"
#include "sim/VirtualBench.h"

namespace tav::fleet {

QString VirtualStations::portName(int station) {
    return QStringLiteral("Virtual %1").arg(station);
}

QList<StationLine> VirtualStations::lines(int count) {
    {
        const QMutexLocker lock(&mutex_);
        departed_.clear();
        why_.clear();
    }
    QList<StationLine> out;
    for (int s = 1; s <= count; ++s) {
        sim::FleetOptions fleet;
        fleet.radios = options_.radiosPerStation;
        fleet.swapSeconds = options_.swapSeconds;
        fleet.seed = quint32(1000 * s);
        const auto pulls = options_.pulls.find(s);
        if (pulls != options_.pulls.end())
            fleet.pulls.insert(pulls->second.begin(), pulls->second.end());
        const bool timing = options_.wireTiming;
        const sim::FaultPlan faults = options_.faults;
        out.append(StationLine{
            portName(s), [this, s, fleet, timing, faults](Clock& clock) {
                auto bench = std::make_unique<sim::VirtualBench>(fleet, timing, faults, clock);
                bench->onLeave([this, s](int k, const QString& why,
                                         const sim::VirtualRadio& radio) {
                    AppState image;
                    std::copy(radio.eeprom().begin(), radio.eeprom().end(), image.EEImage.begin());
                    sim::labelImageFrom(radio.labels(), image.LabelImage);
                    const QMutexLocker lock(&mutex_);
                    departed_.insert({s, k}, image);
                    why_.insert({s, k}, why);
                });
                return std::unique_ptr<SerialLink>(std::move(bench));
            }});
    }
    return out;
}

QMap<QPair<int, int>, AppState> VirtualStations::departed() const {
    const QMutexLocker lock(&mutex_);
    return departed_;
}

QMap<QPair<int, int>, QString> VirtualStations::departures() const {
    const QMutexLocker lock(&mutex_);
    return why_;
}

}  // namespace tav::fleet
