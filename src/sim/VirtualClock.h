#pragma once
// A clock whose time moves only when someone waits on it, so that a test can
// run a two-second hook failure or a full-memory transfer in no real time.

#include "app/Ports.h"

namespace tav::sim {

class VirtualClock : public Clock {
public:
    // The smallest step time takes when a wait's deadline has already passed,
    // so that a loop waiting for "any time at all" ends.
    static constexpr double kTick = 1e-6;

    explicit VirtualClock(double start = 0.0) : now_(start) {}

    double now() override { return now_; }
    void idleUntil(double deadline) override;
    void sleepBlocking(int ms) override;
    void beep() override { ++beeps_; }

    // Moves time forward to `t` (never backwards).
    void advanceTo(double t);
    int beeps() const { return beeps_; }
    // How many times idleUntil ran: each call is one pass of a waiting loop.
    int idleCalls() const { return idleCalls_; }
    int blockingSleeps() const { return blockingSleeps_; }

private:
    double now_;
    int beeps_ = 0;
    int idleCalls_ = 0;
    int blockingSleeps_ = 0;
};

}  // namespace tav::sim
