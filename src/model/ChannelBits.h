#pragma once
// Where a channel's bit lies in a per-channel mask (scan list, narrow band,
// power): two bytes, the first for channels 8 to 13, the second for 0 to 7.

#include <cstdint>

namespace tav {

struct ChannelBit {
    int byteIndex;  // 0: the first byte of the pair, 1: the second
    uint8_t mask;
};

constexpr ChannelBit channelBit(int channel) {
    return channel < 8 ? ChannelBit{1, static_cast<uint8_t>(1u << channel)}
                       : ChannelBit{0, static_cast<uint8_t>(1u << (channel - 8))};
}

// Check box values: anything but 0 counts as checked.
constexpr bool isChecked(int value) {
    return value != 0;
}

}  // namespace tav
