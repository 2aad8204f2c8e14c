#include "model/AppState.h"

namespace tav {

int16_t intRead_Addrs(const AppState& s, int16_t intPage, int16_t intAddrs) {
    const int16_t i = static_cast<int16_t>(intPage * kPageSize + intAddrs);
    return s.EEImage.at(static_cast<std::size_t>(i));
}

void WriteByte(AppState& s, int16_t intPage, int16_t intAddrs, int16_t intMask, int16_t intData) {
    const int16_t i = static_cast<int16_t>(intPage * kPageSize + intAddrs);
    uint8_t& b = s.EEImage.at(static_cast<std::size_t>(i));
    b = static_cast<uint8_t>((b & ~intMask) | (intMask & intData));
}

}  // namespace tav
