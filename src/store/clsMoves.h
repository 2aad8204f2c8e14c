#pragma once
// Moving a whole group to another position in the group order: the group
// pages of EEImage are rotated so that the source page lands at the target
// and the pages in between close the gap. Page 0 (the global block),
// LabelImage and PowerMask never move.

#include <QString>
#include <array>
#include <cstdint>

#include "app/AppState.h"

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
    bool copyGroup(int16_t fromGroup, int16_t toGroup);
    bool copyToTemp(int16_t fromGroup);
    bool copyFromTemp(int16_t toGroup);

private:
    static int pageStart(int16_t group) { return kPageSize * group; }

    AppState& state_;
    // Staging buffer, elements 1..128 (element 0 unused), one page byte each.
    std::array<int16_t, kPageSize + 1> temp_{};
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
