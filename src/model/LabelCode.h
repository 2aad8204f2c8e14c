#pragma once
// The radio display's character code: one byte per display cell, a 6-bit
// character code in bits 1..6 and a trailing-dot flag in bit 0; 0xFF is empty.

#include <QString>
#include <cstdint>

namespace tav {

// Encodes the first character of strChar (and a "." that follows it) and
// removes what it used from the front of the text.
uint8_t strLabToByte(QString& strChar);
// Text of zero to two characters for one label byte.
QString strByteToChar(uint8_t strByte);

}  // namespace tav
