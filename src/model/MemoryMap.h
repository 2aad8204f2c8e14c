#pragma once
// Where things lie in the radio's EEPROM. Every part of the program that reads
// or writes the image by address takes its places from here.

#include <cstdint>

namespace tav {

// 16 pages of 128 bytes: page 0 is the global block, page g + 1 the block of
// group index g (0 to 14), each with 14 channels.
constexpr int kEEPromSize = 2048;
constexpr int kPageSize = 128;
constexpr int kPageCount = 16;
constexpr int kGroupCount = 15;
constexpr int kChannelsPerGroup = 14;

constexpr int groupPage(int group) {
    return group + 1;
}

// Page 0: byte 6 bit 2 says the radio has per-channel bandwidth.
constexpr int kCapabilityByte = 6;
constexpr uint8_t kBandwidthCapable = 0x04;

// Page 0, bytes 14 to 21: whether each page is configured for channel data,
// bit 7 of byte 14 + page / 2 for an even page, bit 3 for an odd one.
constexpr int kPageFlagsStart = 14;
constexpr int pageFlagByte(int page) {
    return kPageFlagsStart + page / 2;
}
constexpr uint8_t pageFlagBit(int page) {
    return page % 2 == 0 ? 0x80 : 0x08;
}

// Page 0, the odd bytes 23 to 35: the directory of named blocks, entry i
// giving the block's start / 8.
constexpr int kDirectoryStart = 23;
constexpr int kDirectoryEntries = 7;
constexpr int directoryAddress(int entry) {
    return kDirectoryStart + 2 * entry;
}

// Page 0, bytes 36 to 65: the per-channel bandwidth mask pair of each group.
constexpr int kBandwidthStart = 36;
constexpr int kBandwidthCount = 2 * kGroupCount;
constexpr int bandwidthAddress(int group) {
    return kBandwidthStart + 2 * group;
}

// A group page: the scan-list mask pair at 0, bytes 9 to 15 never written,
// the 8-byte record of channel c at 16 + 8c.
constexpr int kScanListOffset = 0;
constexpr int kUnusedGroupStart = 9;
constexpr int kChannelRecordStart = 16;
constexpr int kChannelRecordSize = 8;
constexpr int channelRecord(int channel) {
    return kChannelRecordStart + kChannelRecordSize * channel;
}

// The power block holds the per-channel power bits of group indexes 0 to 13 only.
constexpr int kLastPoweredGroup = 13;

}  // namespace tav
