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

#include "app/AppState.h"

namespace tav {

// The parts of the images a comparison looks at. A radio has no element 2048,
// and a radio read may leave out the labels or the power block.
struct CompareRegions {
    bool fileOnlyByte = true;  // EEImage element 2048
    bool labels = true;        // LabelImage, and the fields decoded from it
    bool powerMask = true;     // PowerMask, and the Low Power fields
};

QStringList CompareImages(const AppState& before, const AppState& after,
                          const CompareRegions& regions = {});

}  // namespace tav
