#pragma once
// Helpers shared by the transfer tests: the write masks a new link sets, the
// command bytes as they go on the wire, and a radio rig loaded with a factory image.

#include "RadioRig.h"
#include "sim/RadioImage.h"

namespace tav::test {

inline const QString kWriteFailed =
    QStringLiteral("Write Failed. Cycle Radio Power before Retrying.");

// Masks as a factory radio's write rules give them: page 0 and group pages.
inline uint8_t globalMask(int offset, bool capable) {
    if (offset == 6) return 0xF9;
    if (offset == 7 || (offset >= 11 && offset <= 13)) return 0xFF;
    if (offset >= 36 && offset <= 65) return capable ? 0xFF : 0x00;
    if (offset == 104) return 0x80;
    return 0x00;
}
inline uint8_t groupMask(int offset) {
    if (offset <= 7 || offset >= 16) return 0xFF;
    return offset == 8 ? 0x8F : 0x00;
}
inline uint8_t merge(uint8_t radio, uint8_t image, uint8_t mask) {
    return static_cast<uint8_t>((image & mask) | (radio & ~mask));
}

inline Bytes readCmd(int a) {
    return bytes({0xE1 | ((a / 128) & 0x0E), a & 0xFF});
}
inline Bytes writeCmd(int a, int hi, int lo) {
    return bytes({0xE0 | ((a / 128) & 0x0E), a & 0xFE, hi, lo});
}
inline void append(Bytes& to, const Bytes& more) {
    to.insert(to.end(), more.begin(), more.end());
}

// Writes made by the radio to EEPROM addresses in [from, to).
inline int writesBetween(const sim::VirtualRadio& radio, int from, int to) {
    int n = 0;
    for (const sim::EEWrite& w : radio.eepromWrites())
        if (w.address >= from && w.address < to) ++n;
    return n;
}

inline void loadFactoryRadio(RadioRig& rig) {
    rig.radio.eeprom() = sim::defaultImage();
}

// An editor image with every byte different from the radio's (a pattern).
inline void fillImage(AppState& s, uint32_t seed) {
    for (std::size_t i = 0; i < s.EEImage.size(); ++i)
        s.EEImage[i] = static_cast<uint8_t>((i * 37 + seed * 101 + 11) ^ (i >> 3));
    for (std::size_t i = 0; i < s.PowerMask.size(); ++i)
        s.PowerMask[i] = static_cast<uint8_t>(0xA0 + i + seed);
}

// The loader and the label program as the radio's RAM must hold them.
inline const QByteArray kLoader =
    QByteArray::fromHex("9CAD10B7ECAD0C97AD095AE7555D26F8BEECFC0B10FDB61181");
inline const QByteArray kLabelProgram = QByteArray::fromHex(
    "9BAD33B750AD2FB7512604B6502726B6502710B7523A529D9DAD1BAD50B65226F41C01B65127DAB7523A52AD15"
    "AD2EAD0B1C0120CC810B10FDB611810F10FDB71181AD00AD00A604AD034A26FBB7DDA6492004B7DDA6204A26FD"
    "B6DD81AE804F090306ADE15A26F7814CADD04F1D0197ADD0A608ADD71F010803005924021E011A01ADCF1B014A"
    "26EB9F8100");

// What a label transfer sends before its label commands: the hook, the switch
// to 9600 baud, the loader written to RAM from 0xE0 and started at 0xE1, the
// label program sent to it (load address, length, the bytes last first).
inline Bytes labelTransferStart() {
    Bytes wire = concat(wakeAndHookRequest(), bytes({0xD0, 0x0D, 0x30, 0x28}));
    for (int i = 0; i < kLoader.size(); ++i)
        append(wire, bytes({0xD0, 0xE0 + i, static_cast<uint8_t>(kLoader[i])}));
    append(wire, bytes({0xF0, 0xE1, 0x52, 0x8C}));
    wire.insert(wire.end(), kLabelProgram.rbegin(), kLabelProgram.rend());
    return wire;
}
// And after them: the end of label work, the switch back to 4800, the release.
inline const Bytes kLabelTransferEnd{0x00, 0x00, 0xD0, 0x0D, 0x31, 0x28, 0x01};

}  // namespace tav::test
