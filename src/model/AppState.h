#pragma once
// The radio images and flags that the link, the memory model and the windows
// share for the whole run. One object per run; tests create a fresh one.

#include <array>
#include <cstddef>
#include <cstdint>

#include "model/MemoryMap.h"

namespace tav {

constexpr int kEEImageSize = 2049;      // 2048 EEPROM bytes plus one file-only byte
constexpr int kLabelImageSize = 2048;
constexpr int kPowerMaskSize = 30;

struct AppState {
    std::array<uint8_t, kEEImageSize> EEImage{};
    std::array<uint8_t, kLabelImageSize> LabelImage{};
    std::array<uint8_t, kPowerMaskSize> PowerMask{};
    uint8_t PowerBlockPresent = 0;
    bool PerChanBandOn = false;
    bool PerChanPwrOn = false;
    bool GlobalsWindowOpen = false;
    int16_t NewGroupIndex = 0;
    int16_t NewChannelIndex = 0;
    // Bit-level write permissions; refilled by every radio link construction.
    std::array<uint8_t, kPageSize> GlobalWriteMask{};
    std::array<uint8_t, kPageSize> GroupWriteMask{};

    // LabelImage element of (group index 0..15, slot 0..15, character 0..7).
    static constexpr int labelIndex(int group, int slot, int k) { return group + 16 * slot + 256 * k; }
    uint8_t& label(int group, int slot, int k) { return LabelImage[labelIndex(group, slot, k)]; }
    uint8_t label(int group, int slot, int k) const { return LabelImage[labelIndex(group, slot, k)]; }
};

// Image accessors used by every codec: the image byte at page * 128 + offset,
// and a masked write that changes only the bits set in mask.
int16_t intRead_Addrs(const AppState& s, int16_t intPage, int16_t intAddrs);
void WriteByte(AppState& s, int16_t intPage, int16_t intAddrs, int16_t intMask, int16_t intData);

}  // namespace tav
