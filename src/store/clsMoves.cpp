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

bool clsMoves::copyGroup(int16_t fromGroup, int16_t toGroup) {
    if (!isGroupNumber(fromGroup) || !isGroupNumber(toGroup)) return false;
    auto& image = state_.EEImage;
    const auto from = image.begin() + pageStart(fromGroup);
    std::copy(from, from + kPageSize, image.begin() + pageStart(toGroup));
    return true;
}

bool clsMoves::copyToTemp(int16_t fromGroup) {
    if (!isGroupNumber(fromGroup)) return false;
    for (int k = 1; k <= kPageSize; ++k) temp_[k] = state_.EEImage[pageStart(fromGroup) + k - 1];
    return true;
}

bool clsMoves::copyFromTemp(int16_t toGroup) {
    if (!isGroupNumber(toGroup)) return false;
    for (int k = 1; k <= kPageSize; ++k)
        state_.EEImage[pageStart(toGroup) + k - 1] = static_cast<uint8_t>(temp_[k] & 0xFF);
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
