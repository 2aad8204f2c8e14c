#include "store/clsMoves.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tav {

bool clsMoves::moveGroups(int16_t fromGroup, int16_t toGroup) {
    if (!isGroupNumber(fromGroup) || !isGroupNumber(toGroup)) return false;
    if (fromGroup < toGroup) return leftShiftGroups(fromGroup, toGroup);
    if (fromGroup > toGroup) return rightShiftGroups(toGroup, fromGroup);
    return true;
}

bool clsMoves::leftShiftGroups(int16_t fromGroup, int16_t toGroup) {
    if (!isGroupNumber(fromGroup) || !isGroupNumber(toGroup) || fromGroup > toGroup) return false;
    copyToTemp(fromGroup);
    for (int16_t g = fromGroup; g <= toGroup - 1; ++g) copyGroup(static_cast<int16_t>(g + 1), g);
    return copyFromTemp(toGroup);
}

bool clsMoves::rightShiftGroups(int16_t toGroup, int16_t fromGroup) {
    if (!isGroupNumber(fromGroup) || !isGroupNumber(toGroup) || toGroup > fromGroup) return false;
    copyToTemp(fromGroup);
    for (int16_t g = fromGroup; g >= toGroup + 1; --g) copyGroup(static_cast<int16_t>(g - 1), g);
    return copyFromTemp(toGroup);
}

namespace {

// Calls visit(byte) on every byte that belongs to group number `group`, in
// the order of clsMoves::GroupBytes.
template <typename Image, typename Visit>
void forEachGroupByte(Image& state, int16_t group, Visit visit) {
    const int g = GroupNumber::fromPage(group);  // the index of the label, narrow and power tables
    const auto page = state.EEImage.begin() + kPageSize * group;
    std::for_each(page, page + kPageSize, visit);
    visit(state.EEImage[std::size_t(bandwidthAddress(g))]);
    visit(state.EEImage[std::size_t(bandwidthAddress(g) + 1)]);
    for (int slot = 0; slot < clsMoves::kLabelSlots; ++slot)
        for (int k = 0; k < kLabelCells; ++k)
            visit(state.LabelImage[std::size_t(AppState::labelIndex(g, slot, k))]);
    visit(state.PowerMask[std::size_t(g)]);
    visit(state.PowerMask[std::size_t(g + kGroupCount)]);
}

}  // namespace

clsMoves::GroupBytes clsMoves::groupBytes(int16_t group) const {
    GroupBytes bytes{};
    std::size_t i = 0;
    forEachGroupByte(state_, group, [&](const uint8_t& b) { bytes[i++] = b; });
    return bytes;
}

void clsMoves::setGroupBytes(int16_t group, const GroupBytes& bytes) {
    std::size_t i = 0;
    forEachGroupByte(state_, group, [&](uint8_t& b) { b = bytes[i++]; });
}

bool clsMoves::copyGroup(int16_t fromGroup, int16_t toGroup) {
    if (!isGroupNumber(fromGroup) || !isGroupNumber(toGroup)) return false;
    setGroupBytes(toGroup, groupBytes(fromGroup));
    return true;
}

bool clsMoves::copyToTemp(int16_t fromGroup) {
    if (!isGroupNumber(fromGroup)) return false;
    temp_ = groupBytes(fromGroup);
    return true;
}

bool clsMoves::copyFromTemp(int16_t toGroup) {
    if (!isGroupNumber(toGroup)) return false;
    setGroupBytes(toGroup, temp_);
    return true;
}

namespace {

bool isAsciiDigit(const QByteArray& s, qsizetype k) {
    return k < s.size() && s[k] >= '0' && s[k] <= '9';
}

// End of the decimal number (digits, optional fraction and exponent) that
// starts at `i`, or -1 when no digit is there.
qsizetype numberEnd(const QByteArray& s, qsizetype i) {
    int digits = 0;
    while (isAsciiDigit(s, i)) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (isAsciiDigit(s, i)) ++i, ++digits;
    }
    if (digits == 0) return -1;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        qsizetype j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (isAsciiDigit(s, j)) {
            while (isAsciiDigit(s, j)) ++j;
            i = j;
        }
    }
    return i;
}

}  // namespace

int16_t BankNumberFromText(const QString& text) {
    const QByteArray s = text.trimmed().toLatin1();
    qsizetype i = 0;
    const bool negative = i < s.size() && s[i] == '-';
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    const qsizetype end = numberEnd(s, i);
    if (end < 0) return 0;
    double v = 0;
    // from_chars ignores the locale, unlike strtod.
    const auto r = std::from_chars(s.constData() + i, s.constData() + end, v);
    if (r.ec == std::errc::result_out_of_range) {
        const QByteArray digits = s.mid(i, end - i).toLower();
        v = digits.contains("e-") ? 0.0 : HUGE_VAL;  // underflow or overflow
    }
    if (negative) v = -v;
    return static_cast<int16_t>(std::nearbyint(std::clamp(v, -32768.0, 32767.0)));
}

bool MoveBanks(AppState& state, const QString& fromText, const QString& toText) {
    return clsMoves(state).moveGroups(BankNumberFromText(fromText), BankNumberFromText(toText));
}

}  // namespace tav
