#pragma once
// Moving a whole group to another position in the group order: the source
// group lands at the target and the groups in between close the gap. A group
// moves with everything the radio keeps for it elsewhere: its EEPROM page,
// its narrow-band bits in page 0, its channel labels, group label and
// backlight byte in LabelImage and its power bits in PowerMask. The rest of
// page 0 (the radio's own configuration) and element 2048 never move, so the
// reverse move gives back the image byte for byte.

#include <QString>
#include <array>
#include <cstdint>

#include "model/AppState.h"
#include "model/LabelText.h"

namespace tav {

class clsMoves {
public:
    explicit clsMoves(AppState& state) : state_(state) {}

    // Group numbers are the image's page numbers 1..15. Anything else is
    // refused and nothing moves: a larger number would address pages past
    // the end of the image, and 0 is the global block.
    static bool isGroupNumber(int n) { return n >= 1 && n <= kGroupCount; }

    // False when refused; true otherwise (also when both numbers are equal).
    bool moveGroups(int16_t fromGroup, int16_t toGroup);
    // Rotates pages fromGroup..toGroup one place down (fromGroup <= toGroup).
    bool leftShiftGroups(int16_t fromGroup, int16_t toGroup);
    // Rotates pages toGroup..fromGroup one place up; note the argument order
    // (toGroup <= fromGroup).
    bool rightShiftGroups(int16_t toGroup, int16_t fromGroup);
    // Each of these copies a whole group, as above.
    bool copyGroup(int16_t fromGroup, int16_t toGroup);
    bool copyToTemp(int16_t fromGroup);
    bool copyFromTemp(int16_t toGroup);

    // Page, narrow-band pair, the label slots (channels, group label,
    // backlight), power pair.
    static constexpr int kLabelSlots = kBacklightSlot + 1;
    static constexpr int kGroupBytes = kPageSize + 2 + kLabelSlots * kLabelCells + 2;
    using GroupBytes = std::array<uint8_t, kGroupBytes>;

private:
    GroupBytes groupBytes(int16_t group) const;
    void setGroupBytes(int16_t group, const GroupBytes& bytes);

    AppState& state_;
    // Staging buffer: the group taken out while the others close the gap.
    GroupBytes temp_{};
};

// The number in a "From Bank"/"To Bank" box: the leading number of the text
// rounded to the nearest integer (halves to even); 0 when the text does not
// start with a number. Values beyond the 16-bit range are clamped.
int16_t BankNumberFromText(const QString& text);

// The Move Banks dialog's OK step: reads both boxes and moves when both are
// group numbers. False (and nothing moves) when either box is not a number
// 1..15; true when the move ran or both numbers are the same group.
bool MoveBanks(AppState& state, const QString& fromText, const QString& toText);

}  // namespace tav
