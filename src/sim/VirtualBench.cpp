#include "sim/VirtualBench.h"

namespace tav::sim {

namespace {
// The radio a bench starts from, before the fleet brings its first radio on.
VirtualRadio benchRadio(bool wireTiming, const FaultPlan& faults) {
    VirtualRadio radio(faults);
    radio.setWireTiming(wireTiming);
    radio.setRecording(false);  // a bench serves for as long as the run goes on
    return radio;
}
}  // namespace

VirtualBench::VirtualBench(const FleetOptions& options, bool wireTiming, const FaultPlan& faults,
                           Clock& clock)
    : radio_(benchRadio(wireTiming, faults)), fleet_(radio_, options), line_(radio_, clock) {
    line_.setFeed([this](uint8_t b, int baud, double now) { fleet_.lineIn(b, baud, now); });
}

void VirtualBench::onLeave(
    std::function<void(int k, const QString& why, const VirtualRadio& radio)> tell) {
    fleet_.onLeave(
        [this, tell = std::move(tell)](int k, const QString& why) { tell(k, why, radio_); });
}

}  // namespace tav::sim
