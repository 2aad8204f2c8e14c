#include "model/LabelCode.h"

namespace tav {

namespace {

// Characters of codes 36 to 48; codes 0 to 35 are the digits and capital letters.
constexpr char16_t kSymbols[] = u"-*$/+%\\|_<>h ";
constexpr int kFirstSymbolCode = 36;
constexpr int kSpaceCode = 48;

int codeOf(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'A' && u <= u'Z') return u - u'A' + 10;
    for (int i = 0; kSymbols[i] != 0; ++i)
        if (kSymbols[i] == u) return kFirstSymbolCode + i;
    return kSpaceCode;  // the display shows anything else as a blank
}

QString charOf(int code) {
    if (code < 10) return QString(QChar(u'0' + code));
    if (code < 36) return QString(QChar(u'A' + code - 10));
    if (code <= kSpaceCode) return QString(QChar(kSymbols[code - kFirstSymbolCode]));
    return QString();
}

}  // namespace

uint8_t strLabToByte(QString& strChar) {
    if (strChar.isEmpty()) return static_cast<uint8_t>(kSpaceCode * 2);
    QChar c = strChar[0];
    // Only plain ASCII letters fold: other scripts' case rules could turn
    // a foreign letter into one the display has.
    if (c != u'h' && c >= u'a' && c <= u'z') c = QChar(c.unicode() - u'a' + u'A');
    uint8_t byte = static_cast<uint8_t>(codeOf(c) * 2);
    // A character outside the basic plane is one character, not two blanks.
    const int used =
        (c.isHighSurrogate() && strChar.size() > 1 && strChar[1].isLowSurrogate()) ? 2 : 1;
    strChar.remove(0, used);
    if (strChar.startsWith(u'.')) {
        byte |= 1;
        strChar.remove(0, 1);
    }
    return byte;
}

QString strByteToChar(uint8_t strByte) {
    if (strByte == 0xFF) return QString();
    QString text = charOf((strByte >> 1) & 0x3F);
    if (strByte & 1) text += u'.';
    return text;
}

}  // namespace tav
