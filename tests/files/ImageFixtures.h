#pragma once
// Images for the field listing, comparison, CSV and tavctl tests.

#include "app/AppState.h"
#include "model/clsWriteDefaults.h"

namespace tav::test {

// What the editor holds at start-up: every group filled with its defaults,
// every channel on high power.
inline AppState defaultImage() {
    AppState s;
    for (int g = 0; g < kGroupCount; ++g) {
        s.NewGroupIndex = static_cast<int16_t>(g);
        clsWriteDefaults(s).WriteGroup();
    }
    s.PowerMask.fill(0xFF);
    s.NewGroupIndex = 0;
    return s;
}

inline uint8_t& groupByte(AppState& s, int group, int address) {
    return s.EEImage[std::size_t((group + 1) * kPageSize + address)];
}

}  // namespace tav::test
