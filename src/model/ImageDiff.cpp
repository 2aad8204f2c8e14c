#include "model/ImageDiff.h"

#include <array>

#include "model/MemoryMap.h"
#include "model/RadioFields.h"

namespace tav {

namespace {

// Bits of each block that the differing fields account for.
struct Explained {
    std::array<uint8_t, kEEImageSize> ee{};
    std::array<uint8_t, kLabelImageSize> label{};
    std::array<uint8_t, kPowerMaskSize> power{};

    void add(const ImageBits& b) {
        const auto i = static_cast<std::size_t>(b.index);
        switch (b.block) {
            case ImageBlock::EEImage:
                ee.at(i) |= b.mask;
                break;
            case ImageBlock::LabelImage:
                label.at(i) |= b.mask;
                break;
            case ImageBlock::PowerMask:
                power.at(i) |= b.mask;
                break;
        }
    }
};

QString shown(const RadioField& f, const QString& value) {
    return f.kind == FieldKind::Label ? QLatin1Char('"') + value + QLatin1Char('"') : value;
}

QString hex(int value, int digits) {
    return QStringLiteral("0x") +
           QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

template <std::size_t N>
void byteLines(const char* what, int digits, const std::array<uint8_t, N>& a,
               const std::array<uint8_t, N>& b, const std::array<uint8_t, N>& explained,
               QStringList& out) {
    for (std::size_t i = 0; i < N; ++i) {
        if (((a[i] ^ b[i]) & ~explained[i] & 0xFF) == 0) continue;
        out << QStringLiteral("%1 %2: %3 -> %4")
                   .arg(QLatin1String(what), hex(int(i), digits), hex(a[i], 2), hex(b[i], 2));
    }
}

}  // namespace

QStringList CompareImages(const AppState& before, const AppState& after) {
    const std::vector<RadioField> a = ListRadioFields(before);
    const std::vector<RadioField> b = ListRadioFields(after);
    QStringList out;
    Explained explained;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (a[i].value == b[i].value) continue;
        out << QStringLiteral("%1 %2: %3 -> %4")
                   .arg(a[i].place(), a[i].name, shown(a[i], a[i].value), shown(b[i], b[i].value));
        for (const ImageBits& bits : a[i].bits) explained.add(bits);
    }
    byteLines("byte", 3, before.EEImage, after.EEImage, explained.ee, out);
    byteLines("label byte", 3, before.LabelImage, after.LabelImage, explained.label, out);
    byteLines("power byte", 2, before.PowerMask, after.PowerMask, explained.power, out);
    return out;
}

QStringList CompareWithRadio(const AppState& file, const AppState& radio, const RadioReach& reach) {
    // The file as the radio shows it: every part the read reached comes from
    // the radio, the rest from the file, so that only reached parts can differ.
    AppState seen = file;
    for (std::size_t i = 0; i < std::size_t(kEEPromSize); ++i) {
        const uint8_t bits = reach.eepromBits.empty() ? 0xFF : reach.eepromBits.at(i);
        seen.EEImage[i] = uint8_t((file.EEImage[i] & ~bits) | (radio.EEImage[i] & bits));
    }
    if (reach.labels)
        for (int g = 0; g < kGroupCount; ++g)
            for (int slot = 0; slot < 16; ++slot)
                for (int k = 0; k < 8; ++k) seen.label(g, slot, k) = radio.label(g, slot, k);
    if (reach.powerMask) seen.PowerMask = radio.PowerMask;
    return CompareImages(file, seen);
}

}  // namespace tav
