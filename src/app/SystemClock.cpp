#include "app/SystemClock.h"

#include <time.h>
#include <unistd.h>

#include <QEventLoop>
#include <QTimer>
#include <cerrno>
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
// The part of a wait slept without serving events, at most.
constexpr double kFineSleepMs = 0.5;

// Sleeps until `deadline` on the monotonic clock that now() reads.
void sleepUntil(double deadline) {
    timespec at{};
    at.tv_sec = static_cast<time_t>(deadline);
    at.tv_nsec = static_cast<long>((deadline - std::floor(deadline)) * 1e9);
    while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
    }
}
}  // namespace

double SystemClock::now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void SystemClock::idleUntil(double deadline) {
    // Qt's timers wake a tenth of a millisecond or so late, which the label
    // transfer's thousands of short delays would add up. So the event loop is
    // served until shortly before the deadline, and the rest (under a
    // millisecond, too short to matter to a window) is slept precisely.
    const double ms = (deadline - now()) * 1000.0;
    if (ms > kFineSleepMs) runLoopFor(std::floor(ms - kFineSleepMs), QEventLoop::AllEvents);
    if (now() < deadline) sleepUntil(deadline);
    QEventLoop().processEvents(QEventLoop::AllEvents);
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
