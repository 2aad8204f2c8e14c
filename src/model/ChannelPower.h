#pragma once
// A channel's power setting. The radio keeps one bit per channel in the
// power words of groups 1 to 14, set for high power and clear for low power;
// group 15 has no power setting. The window's Low Power box, the printout and
// the dump all ask here.

#include <cstddef>

#include "model/AppState.h"

namespace tav {

enum class ChannelPower { High, Low, NotSet };

// The PowerMask element that holds the bit of channel c of group index g.
std::size_t powerMaskIndex(int group, int channel);

// Whether channel c of group index g runs at high or low power (NotSet for group 15).
ChannelPower PowerOfChannel(const AppState& state, int group, int channel);

}  // namespace tav
