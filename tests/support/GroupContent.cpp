#include "GroupContent.h"

namespace tav::test {

namespace {
template <std::size_t N>
QByteArray hex(const std::array<uint8_t, N>& table, int from, int count = 1) {
    return QByteArray(reinterpret_cast<const char*>(&table[std::size_t(from)]), count).toHex();
}
}  // namespace

QByteArray groupContent(const AppState& s, int n) {
    const int g = n - 1;
    QByteArray out = hex(s.EEImage, 128 * n, 128) + hex(s.EEImage, 36 + 2 * g, 2);
    for (int slotAndCell = 0; slotAndCell < 16 * 8; ++slotAndCell)
        out += hex(s.LabelImage, g + 16 * slotAndCell);
    return out + hex(s.PowerMask, g) + hex(s.PowerMask, 15 + g);
}

QByteArray outsideGroups(const AppState& s) {
    QByteArray out = hex(s.EEImage, 0, 36) + hex(s.EEImage, 66, 62) + hex(s.EEImage, 2048);
    for (int i = 15; i < kLabelImageSize; i += 16) out += hex(s.LabelImage, i);
    return out;
}

}  // namespace tav::test
