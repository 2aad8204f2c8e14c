#pragma once
// Helpers shared by the memory-model tests: random images, and a check that
// a write changed no bit outside the bits it is allowed to change.

#include <QRandomGenerator>
#include <QString>
#include <array>

#include "app/AppState.h"

namespace tav::test {

inline void randomFill(AppState& s, quint32 seed) {
    QRandomGenerator rng(seed);
    for (auto& b : s.EEImage) b = static_cast<uint8_t>(rng.bounded(256));
    for (auto& b : s.LabelImage) b = static_cast<uint8_t>(rng.bounded(256));
    for (auto& b : s.PowerMask) b = static_cast<uint8_t>(rng.bounded(256));
}

// The bits an operation may change, per byte of each table.
struct AllowedBits {
    std::array<uint8_t, kEEImageSize> ee{};
    std::array<uint8_t, kLabelImageSize> label{};
    std::array<uint8_t, kPowerMaskSize> power{};

    AllowedBits& eeBits(int page, int address, uint8_t mask) {
        ee[std::size_t(page * kPageSize + address)] |= mask;
        return *this;
    }
    AllowedBits& labelBits(int group, int slot, int k, uint8_t mask) {
        label[std::size_t(AppState::labelIndex(group, slot, k))] |= mask;
        return *this;
    }
};

template <std::size_t N>
QString firstStrayChange(const char* table, const std::array<uint8_t, N>& before,
                         const std::array<uint8_t, N>& after,
                         const std::array<uint8_t, N>& allowed) {
    for (std::size_t i = 0; i < N; ++i) {
        const int stray = (before[i] ^ after[i]) & ~allowed[i] & 0xFF;
        if (stray)
            return QStringLiteral("%1[%2]: %3 -> %4 (allowed mask %5)")
                .arg(table)
                .arg(i)
                .arg(before[i], 2, 16, QLatin1Char('0'))
                .arg(after[i], 2, 16, QLatin1Char('0'))
                .arg(allowed[i], 2, 16, QLatin1Char('0'));
    }
    return QString();
}

// Empty when every change lies inside the allowed bits; else the first stray one.
inline QString strayChanges(const AppState& before, const AppState& after, const AllowedBits& ok) {
    QString s = firstStrayChange("EEImage", before.EEImage, after.EEImage, ok.ee);
    if (s.isEmpty())
        s = firstStrayChange("LabelImage", before.LabelImage, after.LabelImage, ok.label);
    if (s.isEmpty()) s = firstStrayChange("PowerMask", before.PowerMask, after.PowerMask, ok.power);
    return s;
}

}  // namespace tav::test
