#pragma once
// Time from the monotonic system clock. Waits sleep in the kernel inside a
// local event loop, so the program stays responsive and uses no processor.

#include "app/Ports.h"

namespace tav {

class SystemClock : public Clock {
public:
    double now() override;
    void idleUntil(double deadline) override;
    // Serves only non-input events meanwhile: the window repaints, but no
    // click or key can start a command.
    void sleepBlocking(int ms) override;
    // A bell on a terminal; the windowed editor overrides this.
    void beep() override;
};

}  // namespace tav
