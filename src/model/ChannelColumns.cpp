#include "model/ChannelColumns.h"

#include <array>

namespace tav::grid {

const FieldDef* columnField(int column) {
    static const std::array<const char*, kChannelColumns> kKeys = {
        nullptr, "rx_freq", "rx_cg", "tx_freq", "tx_cg", "label", "scan", "narrow", "low_power"};
    if (column < 0 || column >= kChannelColumns || !kKeys[std::size_t(column)]) return nullptr;
    return &Field(FieldScope::Channel, kKeys[std::size_t(column)]);
}

}  // namespace tav::grid
