#include "sim/RadioImage.h"

#include <random>

#include "sim/VirtualRadio.h"

namespace tav::sim {

namespace {
constexpr int kUnitBlock = 1920;       // page 15: first named block
constexpr int kPowerBlock = 1952;      // page 15: the power block
constexpr uint8_t kPowerWordsP = 246;  // power words at 8 * 246 + 2 = 1970 .. 1999
}  // namespace

bool pageConfigured(const EEPromImage& e, int page) {
    return (e[static_cast<std::size_t>(pageFlagByte(page))] & pageFlagBit(page)) != 0;
}

void setPageConfigured(EEPromImage& e, int page, bool on) {
    uint8_t& b = e[static_cast<std::size_t>(pageFlagByte(page))];
    b = on ? (b | pageFlagBit(page)) : (b & ~pageFlagBit(page));
}

bool bandwidthCapable(const EEPromImage& e) {
    return (e[kCapabilityByte] & kBandwidthCapable) != 0;
}

void setBandwidthCapable(EEPromImage& e, bool on) {
    uint8_t& b = e[kCapabilityByte];
    b = on ? (b | kBandwidthCapable) : (b & ~kBandwidthCapable);
}

std::array<uint8_t, 3> packBlockName(const QString& name) {
    int c[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4 && i < name.size(); ++i) c[i] = (name.at(i).unicode() - 0x40) & 0x3F;
    return {static_cast<uint8_t>((c[0] << 2) | (c[1] >> 4)),
            static_cast<uint8_t>(((c[1] & 0x0F) << 4) | (c[2] >> 2)),
            static_cast<uint8_t>(((c[2] & 0x03) << 6) | c[3])};
}

QString unpackBlockName(uint8_t b0, uint8_t b1, uint8_t b2) {
    const uint32_t bits = (uint32_t{b0} << 16) | (uint32_t{b1} << 8) | b2;
    QString name;
    for (int shift = 18; shift >= 0; shift -= 6) name += QChar(0x40 + ((bits >> shift) & 0x3F));
    return name;
}

void placeNamedBlock(EEPromImage& e, int entry, int start, const QString& name,
                     uint8_t nameOffset) {
    e[static_cast<std::size_t>(directoryAddress(entry))] = static_cast<uint8_t>(start / 8);
    e[static_cast<std::size_t>(start)] = nameOffset;
    const auto packed = packBlockName(name);
    for (int i = 0; i < 3; ++i)
        e[static_cast<std::size_t>((start + nameOffset + 3 + i) % kEEPromSize)] = packed[i];
}

void placePowerBlock(EEPromImage& e, int entry, int start, uint8_t p, uint8_t nameOffset) {
    placeNamedBlock(e, entry, start, QStringLiteral("VPWR"), nameOffset);
    e[static_cast<std::size_t>((start + nameOffset + 10) % kEEPromSize)] = p;
}

std::optional<int> powerWordsAddress(const EEPromImage& e) {
    const auto at = [&e](int a) { return e[static_cast<std::size_t>(a % kEEPromSize)]; };
    for (int i = 0; i < kDirectoryEntries; ++i) {
        const int start = 8 * at(directoryAddress(i));
        if (start == 0) continue;
        const int name = start + at(start) + 3;
        if (unpackBlockName(at(name), at(name + 1), at(name + 2)) != QLatin1String("VPWR"))
            continue;
        return (8 * at(start + at(start) + 10) + 2) % kEEPromSize;
    }
    return std::nullopt;
}

int labelMemoryAddress(int bank, int slot, int k) {
    return (bank - 1) * 128 + (slot - 1) * 8 + 7 - k;
}

LabelMemory labelMemoryFrom(const std::array<uint8_t, kLabelImageSize>& labelImage) {
    LabelMemory m{};
    m.fill(0xFF);
    for (int bank = 1; bank <= kGroupCount; ++bank)
        for (int slot = 1; slot <= 16; ++slot)
            for (int k = 0; k < 8; ++k)
                m[static_cast<std::size_t>(labelMemoryAddress(bank, slot, k))] =
                    labelImage[static_cast<std::size_t>(
                        AppState::labelIndex(bank - 1, slot - 1, k))];
    return m;
}

void labelImageFrom(const LabelMemory& memory, std::array<uint8_t, kLabelImageSize>& labelImage) {
    for (int bank = 1; bank <= kGroupCount; ++bank)
        for (int slot = 1; slot <= 16; ++slot)
            for (int k = 0; k < 8; ++k)
                labelImage[static_cast<std::size_t>(AppState::labelIndex(bank - 1, slot - 1, k))] =
                    memory[static_cast<std::size_t>(labelMemoryAddress(bank, slot, k))];
}

EEPromImage defaultImage() {
    EEPromImage e{};
    for (int page = 0; page < kPageCount - 1; ++page) setPageConfigured(e, page, true);
    setBandwidthCapable(e, true);
    placeNamedBlock(e, 0, kUnitBlock, QStringLiteral("UNIT"));
    placePowerBlock(e, 1, kPowerBlock, kPowerWordsP);
    return e;
}

RandomRadio randomRadio(quint32 seed) {
    std::mt19937 rng(seed);
    const auto draw = [&rng] { return static_cast<uint8_t>(rng() & 0xFF); };
    RandomRadio r{defaultImage(), {}};
    EEPromImage& e = r.eeprom;
    const EEPromImage shape = e;
    // Page 0 but the page flags and the directory, then groups 1 to 14 whole.
    for (int a = 0; a < kUnitBlock; ++a)
        if (a < kPageFlagsStart || a >= kBandwidthStart) e[static_cast<std::size_t>(a)] = draw();
    e[kCapabilityByte] = static_cast<uint8_t>((e[kCapabilityByte] & ~kBandwidthCapable) |
                                              (shape[kCapabilityByte] & kBandwidthCapable));
    for (int a = 8 * kPowerWordsP + 2; a < 8 * kPowerWordsP + 2 + kBandwidthCount; ++a)
        e[static_cast<std::size_t>(a)] = draw();
    for (uint8_t& b : r.labels) b = static_cast<uint8_t>(0x60 + (draw() & 0x1F));
    return r;
}

LabelMemory defaultLabels() {
    LabelMemory m{};
    m.fill(0x60);  // the display's space
    return m;
}

void loadFactoryRadio(VirtualRadio& radio) {
    radio.eeprom() = defaultImage();
    radio.labels() = defaultLabels();
}

}  // namespace tav::sim
