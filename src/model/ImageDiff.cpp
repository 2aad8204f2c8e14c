#include "model/ImageDiff.h"

#include <array>

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

bool compared(const RadioField& f, const CompareRegions& r) {
    for (const ImageBits& b : f.bits) {
        if (b.block == ImageBlock::LabelImage && !r.labels) return false;
        if (b.block == ImageBlock::PowerMask && !r.powerMask) return false;
    }
    return true;
}

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
               std::size_t count, QStringList& out) {
    for (std::size_t i = 0; i < count; ++i) {
        if (((a[i] ^ b[i]) & ~explained[i] & 0xFF) == 0) continue;
        out << QStringLiteral("%1 %2: %3 -> %4")
                   .arg(QLatin1String(what), hex(int(i), digits), hex(a[i], 2), hex(b[i], 2));
    }
}

}  // namespace

QStringList CompareImages(const AppState& before, const AppState& after,
                          const CompareRegions& regions) {
    const std::vector<RadioField> a = ListRadioFields(before);
    const std::vector<RadioField> b = ListRadioFields(after);
    QStringList out;
    Explained explained;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (a[i].value == b[i].value || !compared(a[i], regions)) continue;
        out << QStringLiteral("%1 %2: %3 -> %4")
                   .arg(a[i].place(), a[i].name, shown(a[i], a[i].value), shown(b[i], b[i].value));
        for (const ImageBits& bits : a[i].bits) explained.add(bits);
    }
    const std::size_t eeCount = regions.fileOnlyByte ? kEEImageSize : kEEPromSize;
    byteLines("byte", 3, before.EEImage, after.EEImage, explained.ee, eeCount, out);
    if (regions.labels)
        byteLines("label byte", 3, before.LabelImage, after.LabelImage, explained.label,
                  kLabelImageSize, out);
    if (regions.powerMask)
        byteLines("power byte", 2, before.PowerMask, after.PowerMask, explained.power,
                  kPowerMaskSize, out);
    return out;
}

}  // namespace tav
