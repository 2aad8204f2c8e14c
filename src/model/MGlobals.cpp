#include "model/MGlobals.h"

#include <array>
#include <cmath>

#include "model/MemoryMap.h"
#include "model/NumberText.h"

namespace tav {

namespace {

// The parts below 100 kHz that are not on the 5 kHz raster, in 10 Hz units.
// Entry k is escape nibble 10 + k / 2 with the B1 sub-step flag = k % 2.
constexpr std::array<int32_t, 12> kEscapeOffsets = {625,  8125, 1875, 9375, 3125, 8750,
                                                    4375, 1250, 5625, 6250, 6875, 3750};

constexpr int32_t kBaseFreq = 10000000;  // 100 MHz in 10 Hz units
constexpr int32_t kTopFreq = 18000000;   // 180 MHz: the first frequency the bytes cannot hold

// Round half to even, as every numeric conversion of the editor does.
double roundEven(double v) {
    return std::nearbyint(v);
}

int escapeIndex(int32_t partBelow100k) {
    for (int k = 0; k < int(kEscapeOffsets.size()); ++k)
        if (kEscapeOffsets[static_cast<std::size_t>(k)] == partBelow100k) return k;
    return -1;
}

int hexDigitValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    if (u >= u'a' && u <= u'f') return u - u'a' + 10;
    return 0;
}

// Value of an octal-code character: a decimal digit reduced to its low three bits.
bool codeDigit(const QString& text, int pos, int& out) {
    if (pos >= text.size()) return false;
    const QChar c = text[pos];
    if (c < u'0' || c > u'9') return false;
    out = (c.unicode() - u'0') & 7;
    return true;
}

bool digitalCGToBytes(const QString& text, uint8_t& H, uint8_t& L) {
    int a = 0, b = 0, c = 0;
    if (!codeDigit(text, 1, a) || !codeDigit(text, 2, b) || !codeDigit(text, 3, c)) return false;
    const bool inverted = text.endsWith(u'-');
    H = static_cast<uint8_t>(((a & 4) >> 2) | (inverted ? 0xC8 : 0x88));
    L = static_cast<uint8_t>(((a & 3) << 6) | (b << 3) | c);
    return true;
}

bool toneCGToBytes(const QString& text, uint8_t& H, uint8_t& L) {
    const double tenths = roundEven(LeadingNumber(text) * 10.0);
    if (!(tenths >= -32768.0 && tenths <= 32767.0)) return false;
    const int16_t n = static_cast<int16_t>(tenths);
    const int h = (n / 1000) * 16 + (n / 100) % 10;
    const int l = ((n / 10) % 10) * 16 + n % 10;
    // A tone from 1600 Hz up, or a negative one, does not fit the two bytes.
    if (h < 0 || h > 255 || l < 0 || l > 255) return false;
    H = static_cast<uint8_t>(h);
    L = static_cast<uint8_t>(l);
    return true;
}

}  // namespace

bool ByteToBCD(int n, uint8_t& out) {
    if (n < 0 || n > 159) return false;
    out = static_cast<uint8_t>(n % 10 + 16 * (n / 10));
    return true;
}

int16_t GroupPage(int16_t n) {
    return static_cast<int16_t>(groupPage(n));
}

bool FreqTextToBytes(const QString& text, uint8_t& B1, uint8_t& B2) {
    const double scaled = roundEven(LeadingNumber(text) * 100000.0);
    if (scaled == 0.0) {
        B1 = 0;
        B2 = 0;
        return true;
    }
    if (!(scaled >= kBaseFreq && scaled < kTopFreq)) return false;
    int32_t D = static_cast<int32_t>(scaled) - kBaseFreq;
    const int32_t R = D % 1000;
    uint8_t b1 = 0, b2 = 0;
    if (!ByteToBCD((D / 100000) & 255, b1)) return false;
    if (R == 0 || R == 500) {
        if (R == 500) b1 = static_cast<uint8_t>(b1 + 128);
        if (!ByteToBCD((D / 1000) % 100, b2)) return false;
    } else {
        const int32_t R4 = D % 10000;
        const int k = escapeIndex(R4);
        if (k < 0) return false;
        D -= R4;
        if (!ByteToBCD((D / 1000) % 100, b2)) return false;
        b2 = static_cast<uint8_t>(b2 + k / 2 + 10);
        if (k % 2) b1 |= 0x80;
    }
    B1 = b1;
    B2 = b2;
    return true;
}

QString FreqBytesToText(uint8_t B1, uint8_t B2) {
    if (B1 == 0xFF || (B1 == 0 && B2 == 0)) return QStringLiteral("none");
    int32_t V = kBaseFreq + ((B1 >> 4) & 7) * 1000000 + (B1 & 15) * 100000 + (B2 >> 4) * 10000;
    const int n = B2 & 15;
    const int subStep = (B1 & 0x80) ? 1 : 0;
    if (n <= 9)
        V += 1000 * n + 500 * subStep;
    else
        V += kEscapeOffsets[static_cast<std::size_t>((n - 10) * 2 + subStep)];
    // Always eight digits here, so "###.#####" is the integer part, a point, five decimals.
    return QStringLiteral("%1.%2").arg(V / 100000).arg(V % 100000, 5, 10, QLatin1Char('0'));
}

bool CGTextToBytes(const QString& text, uint8_t& H, uint8_t& L) {
    const bool digital = !text.isEmpty() && text[0].toUpper() == u'D';
    return digital ? digitalCGToBytes(text, H, L) : toneCGToBytes(text, H, L);
}

QString CGBytesToText(uint8_t L, uint8_t H) {
    if (H > 127) {
        QString t =
            QStringLiteral("D%1%2%3").arg((H & 1) * 4 + (L >> 6)).arg((L >> 3) & 7).arg(L & 7);
        if (H & 0x40) t += u'-';
        return t;
    }
    return QStringLiteral("%1%2%3.%4").arg(H >> 4).arg(H & 15).arg(L >> 4).arg(L & 15);
}

bool IsHexDigit(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F') || (u >= u'a' && u <= u'f');
}

double HexTextToValue(const QString& text) {
    if (text.size() < 1 || text.size() > 3) return 0;
    double v = 0;
    for (QChar c : text) v = v * 16 + hexDigitValue(c);
    return v;
}

}  // namespace tav
