#include "ui/WindowClock.h"

#include <QApplication>

namespace tav {

void WindowClock::beep() {
    QApplication::beep();
}

}  // namespace tav
