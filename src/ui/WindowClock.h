#pragma once
// The editor's clock: monotonic time, waits that keep the windows live, and
// the desktop's beep.

#include <QElapsedTimer>

#include "app/Ports.h"

namespace tav {

class WindowClock : public Clock {
public:
    WindowClock();
    double now() override;
    void idleUntil(double deadline) override;
    void sleepBlocking(int ms) override;
    void beep() override;

private:
    QElapsedTimer started_;
};

}  // namespace tav
