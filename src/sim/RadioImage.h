#pragma once
// The parts of a radio's EEPROM that the radio itself defines rather than the
// editor: the per-page "configured for channel data" bits, the per-channel
// bandwidth capability bit, the named-block directory and the power block.
// Used to build the virtual radio's default image and by tests to build
// radios of every shape.

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "model/AppState.h"

namespace tav::sim {

class VirtualRadio;

using EEPromImage = std::array<uint8_t, kEEPromSize>;
using LabelMemory = std::array<uint8_t, kLabelImageSize>;

using tav::kBandwidthCapable;
using tav::kCapabilityByte;
using tav::kDirectoryEntries;
using tav::kDirectoryStart;

bool pageConfigured(const EEPromImage& e, int page);
void setPageConfigured(EEPromImage& e, int page, bool on);
bool bandwidthCapable(const EEPromImage& e);
void setBandwidthCapable(EEPromImage& e, bool on);

// Three bytes holding four 6-bit letter codes ("A" = 1 ... "Z" = 26), big-endian.
std::array<uint8_t, 3> packBlockName(const QString& name);
QString unpackBlockName(uint8_t b0, uint8_t b1, uint8_t b2);

// Points directory entry `entry` at `start` (a multiple of 8 below 2048) and
// writes the block's first byte (the name offset) and its name there.
void placeNamedBlock(EEPromImage& e, int entry, int start, const QString& name,
                     uint8_t nameOffset = 0);
// A "VPWR" block at `start` whose power words (group index 0 first) begin at
// 8 * p + 2; p is stored at start + nameOffset + 10.
void placePowerBlock(EEPromImage& e, int entry, int start, uint8_t p, uint8_t nameOffset = 0);
// Where the radio keeps the power words, found as the radio's own software
// would: the first directory entry naming "VPWR".
std::optional<int> powerWordsAddress(const EEPromImage& e);

// Label memory address of character k (0..7) of the label of (bank 1..15, slot 1..16)
// lies at (bank - 1) * 128 + (slot - 1) * 8 + 7 - k.
int labelMemoryAddress(int bank, int slot, int k);
// The label memory that holds a label image, and back (bank 16 is not in the radio).
LabelMemory labelMemoryFrom(const std::array<uint8_t, kLabelImageSize>& labelImage);
void labelImageFrom(const LabelMemory& memory, std::array<uint8_t, kLabelImageSize>& labelImage);

// A radio as it leaves the factory with both per-channel options: groups 1 to
// 14 configured for channel data, page 15 holding the named blocks (a unit
// block and the power block), bandwidth capability set.
EEPromImage defaultImage();
// Labels of that radio: every character a space.
LabelMemory defaultLabels();
// Gives `radio` the memories of that factory radio: the radio that `tavctl sim`
// and the editor's "Virtual radio" serve, so that a first write sticks.
void loadFactoryRadio(VirtualRadio& radio);

// A radio of that shape with everything else drawn from `seed`: the unit's
// bytes (the page flags, the directory and the capability bit kept), every
// byte of groups 1 to 14 (their ANI/ID numbers too), the power words and the
// labels. The same seed always gives the same radio.
struct RandomRadio {
    EEPromImage eeprom;
    LabelMemory labels;
};
RandomRadio randomRadio(quint32 seed);

}  // namespace tav::sim
