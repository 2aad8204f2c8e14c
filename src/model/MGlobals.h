#pragma once
// Value codecs between the radio's bytes and the texts the windows show.
// Stateless free functions; numbers are always read with "." as the decimal
// separator, whatever the user's locale.

#include <QString>
#include <cstdint>

namespace tav {

// Frequency text ("155.12500", "none") <-> two bytes B1, B2. False when the
// text cannot be held by the byte format; B1/B2 are then left as they were.
bool FreqTextToBytes(const QString& text, uint8_t& B1, uint8_t& B2);
QString FreqBytesToText(uint8_t B1, uint8_t B2);

// Channel guard text ("067.0", "D023", "D023-") <-> bytes H (lower address), L.
bool CGTextToBytes(const QString& text, uint8_t& H, uint8_t& L);
// Note the order: the byte at the higher address first.
QString CGBytesToText(uint8_t L, uint8_t H);

// Whether c is a hexadecimal digit: 0-9, A-F or a-f, nothing else. Every
// hexadecimal field takes its typed characters by this rule; a digit of
// another script (a full-width "3") would be stored as 0.
bool IsHexDigit(QChar c);
// Value of a text of one to three hexadecimal digits; 0 for other lengths.
double HexTextToValue(const QString& text);
// n mod 10 + 16 * (n / 10); false (conversion failure) for n above 159 or below 0.
bool ByteToBCD(int n, uint8_t& out);
// Page of a group index's block: n + 1.
int16_t GroupPage(int16_t n);

}  // namespace tav
