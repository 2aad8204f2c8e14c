#include "sim/VirtualFleet.h"

#include "sim/RadioImage.h"

namespace tav::sim {

namespace {
constexpr uint8_t kHookRequestEnd = 0x28;
}

VirtualFleet::VirtualFleet(VirtualRadio& radio, const FleetOptions& options)
    : radio_(radio), options_(options), faults_(radio.faults()) {
    bringOn(1);
}

void VirtualFleet::bringOn(int k) {
    prepare(radio_, options_.seed, k);
    FaultPlan own = faults_;
    const auto stuck = options_.stuck.find(k);
    if (stuck != options_.stuck.end())
        own.stuck.insert(own.stuck.end(), stuck->second.begin(), stuck->second.end());
    radio_.setFaults(own);
}

void VirtualFleet::prepare(VirtualRadio& radio, quint32 seed, int k) {
    VirtualRadio next(radio.faults());
    next.setWireTiming(radio.wireTiming());
    next.setRecording(radio.recording());
    next.setIdByte(radio.idByte());
    const RandomRadio r = randomRadio(seed + static_cast<quint32>(k));
    next.eeprom() = r.eeprom;
    next.labels() = r.labels;
    radio = std::move(next);
}

void VirtualFleet::lineIn(uint8_t b, int baud, double now) {
    if (away_) {
        // The hook request that finds the line silent is not the next radio's.
        if (!hookHeard_) {
            hookHeard_ = b == kHookRequestEnd;
            return;
        }
        if (number_ >= options_.radios || now - leftAt_ < options_.swapSeconds) return;
        bringOn(++number_);
        away_ = false;
        heard_ = 0;
    }
    radio_.lineIn(b, baud, now);
    ++heard_;
    const auto pull = options_.pulls.find(number_);
    if (pull != options_.pulls.end() && heard_ >= pull->second)
        leave(QStringLiteral("pulled"), now);
    else if (radio_.releasedForGood())
        leave(QStringLiteral("released"), now);
}

void VirtualFleet::leave(const QString& why, double now) {
    if (tellLeave_) tellLeave_(number_, why);
    radio_.leave();
    away_ = true;
    leftAt_ = now;
    hookHeard_ = false;
}

}  // namespace tav::sim
