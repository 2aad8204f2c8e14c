#pragma once
// The system clock with the desktop's beep.

#include "app/SystemClock.h"

namespace tav {

class WindowClock : public SystemClock {
public:
    void beep() override;
};

}  // namespace tav
