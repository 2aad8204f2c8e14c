#include "app/SystemClock.h"

#include <unistd.h>

#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <cmath>

namespace tav {

namespace {
// Runs a local event loop until `ms` milliseconds have passed.
void runLoopFor(double ms, QEventLoop::ProcessEventsFlags flags) {
    QEventLoop loop;
    if (ms <= 0) {
        loop.processEvents(flags);
        return;
    }
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    // Rounded up: a timer never fires early, so the deadline has passed when it does.
    timer.start(static_cast<int>(std::ceil(ms)));
    loop.exec(flags);
}
}  // namespace

double SystemClock::now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void SystemClock::idleUntil(double deadline) {
    runLoopFor((deadline - now()) * 1000.0, QEventLoop::AllEvents);
}

void SystemClock::sleepBlocking(int ms) {
    const double deadline = now() + ms / 1000.0;
    // Other events (repaints, timers) may end the loop's pass early; go on
    // until the time is really up.
    while (now() < deadline)
        runLoopFor((deadline - now()) * 1000.0, QEventLoop::ExcludeUserInputEvents);
}

void SystemClock::beep() {
    if (::isatty(STDERR_FILENO)) {
        const ssize_t n = ::write(STDERR_FILENO, "\a", 1);
        (void)n;
    }
}

}  // namespace tav
