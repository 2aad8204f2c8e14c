#include "model/ChannelPower.h"

#include "model/ChannelBits.h"
#include "model/MemoryMap.h"

namespace tav {

std::size_t powerMaskIndex(int group, int channel) {
    return static_cast<std::size_t>(group + kGroupCount * channelBit(channel).byteIndex);
}

ChannelPower PowerOfChannel(const AppState& state, int group, int channel) {
    if (group > kLastPoweredGroup) return ChannelPower::NotSet;
    const bool set = state.PowerMask[powerMaskIndex(group, channel)] & channelBit(channel).mask;
    return set ? ChannelPower::High : ChannelPower::Low;
}

}  // namespace tav
