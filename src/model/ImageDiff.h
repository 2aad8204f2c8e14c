#pragma once
// Field-level comparison of two images, one line per difference:
//
//   unit Priority Rate: .25 -> 1
//   group 2 Label: "GROUP  2" -> "FIRE    "
//   group 3 channel 5 Rx Freq: 155.12000 -> 155.13000
//   byte 0x009: 0x00 -> 0x12
//   label byte 0x7F0: 0x00 -> 0x01
//   power byte 0x0E: 0xFF -> 0x7F
//
// Fields come first, in the order of ListRadioFields. Then every byte whose
// change the differing fields do not account for, by its index in its block
// ("byte" for EEImage, "label byte", "power byte"): bits no field decodes
// (e.g. EEPROM byte 9, element 2048, unused label cells) and changes that
// decode to the same text. So two images compare equal only when every
// compared byte is equal.

#include <QStringList>
#include <cstdint>
#include <vector>

#include "model/AppState.h"

namespace tav {

QStringList CompareImages(const AppState& before, const AppState& after);

// What a radio read reached: the EEPROM always (element 2048 is only in
// files); the labels of groups 1 to 15 when they were read; the power mask
// when the radio holds its power block. After a write, only the EEPROM bits
// the write could change are worth comparing: eepromBits then holds them,
// one mask per address (empty means every bit).
struct RadioReach {
    bool labels = false;
    bool powerMask = false;
    std::vector<uint8_t> eepromBits;
};

// The differences between a file and what was read from a radio, as
// CompareImages gives them (file values first), over what the read reached.
QStringList CompareWithRadio(const AppState& file, const AppState& radio, const RadioReach& reach);

}  // namespace tav
