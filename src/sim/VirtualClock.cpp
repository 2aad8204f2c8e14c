#include "sim/VirtualClock.h"

namespace tav::sim {

void VirtualClock::idleUntil(double deadline) {
    ++idleCalls_;
    now_ = deadline > now_ ? deadline : now_ + kTick;
}

void VirtualClock::sleepBlocking(int ms) {
    ++blockingSleeps_;
    if (ms > 0) now_ += ms / 1000.0;
}

void VirtualClock::advanceTo(double t) {
    if (t > now_) now_ = t;
}

}  // namespace tav::sim
