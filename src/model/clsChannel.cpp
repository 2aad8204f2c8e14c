#include "model/clsChannel.h"

#include "model/ChannelBits.h"
#include "model/ChannelPower.h"
#include "model/LabelText.h"
#include "model/MGlobals.h"

namespace tav {

namespace {
// Offsets inside a channel record.
constexpr int kRxFreqOffset = 0;
constexpr int kRxCGOffset = 2;
constexpr int kTxFreqOffset = 4;
constexpr int kTxCGOffset = 6;
}  // namespace

clsChannel::clsChannel(AppState& state, GroupControls& controls, ChannelGrid& grid)
    : state_(state),
      controls_(controls),
      grid_(grid),
      group_(state.NewGroupIndex),
      channel_(state.NewChannelIndex),
      page_(GroupPage(state.NewGroupIndex)) {}

int16_t clsChannel::recordAddress() const {
    return static_cast<int16_t>(channelRecord(channel_));
}

void clsChannel::Read_Channel() {
    page_ = GroupPage(group_);
    Read_RX_Freq();
    Read_RX_CG();
    Read_TX_Freq();
    Read_TX_CG();
    Read_Chan_Alpha();
    Read_Lo_Power();
    Read_Narrow_Band();
    Read_Scan_List();
}

void clsChannel::Write_Channel() {
    page_ = GroupPage(group_);
    Write_RX_Freq();
    Write_RX_CG();
    Write_TX_Freq();
    Write_TX_CG();
    Write_Chan_Alpha();
    Write_Lo_Power();
    Write_Narrow_Band();
    Write_Scan_List();
}

QString clsChannel::readFreq(int offset) const {
    const int16_t a = static_cast<int16_t>(recordAddress() + offset);
    return FreqBytesToText(static_cast<uint8_t>(intRead_Addrs(state_, page_, a)),
                           static_cast<uint8_t>(intRead_Addrs(state_, page_, a + 1)));
}

QString clsChannel::readCG(int offset) const {
    const int16_t a = static_cast<int16_t>(recordAddress() + offset);
    return CGBytesToText(static_cast<uint8_t>(intRead_Addrs(state_, page_, a + 1)),
                         static_cast<uint8_t>(intRead_Addrs(state_, page_, a)));
}

// A text the byte format cannot hold leaves the image as it was.
void clsChannel::writeFreq(int offset, const QString& text) {
    uint8_t b1 = 0, b2 = 0;
    if (!FreqTextToBytes(text, b1, b2)) return;
    const int16_t a = static_cast<int16_t>(recordAddress() + offset);
    WriteByte(state_, page_, a, 0xFF, b1);
    WriteByte(state_, page_, a + 1, 0xFF, b2);
}

void clsChannel::writeCG(int offset, const QString& text) {
    uint8_t h = 0, l = 0;
    if (!CGTextToBytes(text, h, l)) return;
    const int16_t a = static_cast<int16_t>(recordAddress() + offset);
    WriteByte(state_, page_, a, 0xFF, h);
    WriteByte(state_, page_, a + 1, 0xFF, l);
}

void clsChannel::Read_RX_Freq() {
    rxFreq_ = readFreq(kRxFreqOffset);
    grid_.setCellText(kRxFreq, channel_, rxFreq_);
}

void clsChannel::Read_RX_CG() {
    grid_.setCellText(kRxCG, channel_, readCG(kRxCGOffset));
}

void clsChannel::Read_TX_Freq() {
    txFreq_ = readFreq(kTxFreqOffset);
    grid_.setCellText(kTxFreq, channel_, txFreq_);
}

void clsChannel::Read_TX_CG() {
    grid_.setCellText(kTxCG, channel_, readCG(kTxCGOffset));
}

void clsChannel::Read_Chan_Alpha() {
    label_ = ShownLabelText(state_, group_, channel_);
    grid_.setCellText(kLabel, channel_, label_);
}

bool clsChannel::hasPowerBits() const {
    return group_ <= kLastPoweredGroup;
}

uint8_t& clsChannel::powerByte() {
    return state_.PowerMask[powerMaskIndex(group_, channel_)];
}

void clsChannel::Read_Lo_Power() {
    const ChannelPower power = PowerOfChannel(state_, group_, channel_);
    if (power == ChannelPower::NotSet) return;
    controls_.chkLoPower[std::size_t(channel_)] = power == ChannelPower::Low ? 1 : 0;
}

void clsChannel::Read_Narrow_Band() {
    const ChannelBit bit = channelBit(channel_);
    const int16_t b =
        intRead_Addrs(state_, 0, int16_t(bandwidthAddress(group_) + bit.byteIndex));
    controls_.chkNarr[std::size_t(channel_)] = (b & bit.mask) ? 1 : 0;
}

void clsChannel::Read_Scan_List() {
    const ChannelBit bit = channelBit(channel_);
    const int16_t b = intRead_Addrs(state_, page_, int16_t(kScanListOffset + bit.byteIndex));
    controls_.chkScan[std::size_t(channel_)] = (b & bit.mask) ? 1 : 0;
}

void clsChannel::Write_RX_Freq() {
    rxFreq_ = grid_.cellText(kRxFreq, channel_);
    writeFreq(kRxFreqOffset, rxFreq_);
}

void clsChannel::Write_RX_CG() {
    writeCG(kRxCGOffset, grid_.cellText(kRxCG, channel_));
}

void clsChannel::Write_TX_Freq() {
    txFreq_ = grid_.cellText(kTxFreq, channel_);
    writeFreq(kTxFreqOffset, txFreq_);
}

void clsChannel::Write_TX_CG() {
    writeCG(kTxCGOffset, grid_.cellText(kTxCG, channel_));
}

void clsChannel::Write_Chan_Alpha() {
    label_ = grid_.cellText(kLabel, channel_);
    StoreLabelText(state_, group_, channel_, label_);
}

void clsChannel::Write_Lo_Power() {
    if (!hasPowerBits()) return;
    const uint8_t mask = channelBit(channel_).mask;
    uint8_t& b = powerByte();
    if (isChecked(controls_.chkLoPower[std::size_t(channel_)]))
        b = static_cast<uint8_t>(b & ~mask);
    else
        b = static_cast<uint8_t>(b | mask);
}

void clsChannel::Write_Narrow_Band() {
    const ChannelBit bit = channelBit(channel_);
    const bool narrow = isChecked(controls_.chkNarr[std::size_t(channel_)]);
    WriteByte(state_, 0, int16_t(bandwidthAddress(group_) + bit.byteIndex), bit.mask,
              narrow ? bit.mask : 0);
}

void clsChannel::Write_Scan_List() {
    const ChannelBit bit = channelBit(channel_);
    const bool inList = isChecked(controls_.chkScan[std::size_t(channel_)]);
    WriteByte(state_, page_, int16_t(kScanListOffset + bit.byteIndex), bit.mask,
              inList ? bit.mask : 0);
}

}  // namespace tav
