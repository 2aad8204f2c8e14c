#include "ui/WindowClock.h"

#include <QApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <cmath>

namespace tav {

WindowClock::WindowClock() { started_.start(); }

double WindowClock::now() { return double(started_.nsecsElapsed()) / 1e9; }

void WindowClock::idleUntil(double deadline) {
    const double left = deadline - now();
    if (left <= 0) {
        QCoreApplication::processEvents();
        return;
    }
    // Sleep in the event loop, so the windows repaint and Cancel works.
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(std::ceil(left * 1000)), Qt::PreciseTimer, &loop,
                       &QEventLoop::quit);
    loop.exec();
}

void WindowClock::sleepBlocking(int ms) {
    if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

void WindowClock::beep() { QApplication::beep(); }

}  // namespace tav
