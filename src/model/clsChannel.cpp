#include "model/clsChannel.h"

#include "model/ChannelBits.h"
#include "model/FieldTable.h"
#include "model/MGlobals.h"

namespace tav {

clsChannel::clsChannel(AppState& state, GroupControls& controls, ChannelGrid& grid)
    : state_(state),
      controls_(controls),
      grid_(grid),
      group_(state.NewGroupIndex),
      channel_(state.NewChannelIndex),
      page_(GroupPage(state.NewGroupIndex)) {}

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

QString clsChannel::value(const char* key) const {
    return ReadFieldValue(state_, Field(FieldScope::Channel, key), group_, channel_);
}

// A text the field cannot hold leaves the image as it was.
void clsChannel::setValue(const char* key, const QString& text) {
    WriteFieldValue(state_, Field(FieldScope::Channel, key), group_, channel_, text);
}

bool clsChannel::checked(const char* key) const {
    return FieldChecked(state_, Field(FieldScope::Channel, key), group_, channel_);
}

void clsChannel::setChecked(const char* key, int value) {
    WriteFieldCheck(state_, Field(FieldScope::Channel, key), group_, channel_, isChecked(value));
}

void clsChannel::Read_RX_Freq() {
    rxFreq_ = value("rx_freq");
    grid_.setCellText(kRxFreq, channel_, rxFreq_);
}

void clsChannel::Read_RX_CG() {
    grid_.setCellText(kRxCG, channel_, value("rx_cg"));
}

void clsChannel::Read_TX_Freq() {
    txFreq_ = value("tx_freq");
    grid_.setCellText(kTxFreq, channel_, txFreq_);
}

void clsChannel::Read_TX_CG() {
    grid_.setCellText(kTxCG, channel_, value("tx_cg"));
}

void clsChannel::Read_Chan_Alpha() {
    label_ = value("label");
    grid_.setCellText(kLabel, channel_, label_);
}

bool clsChannel::hasPowerBits() const {
    return FieldExists(Field(FieldScope::Channel, "low_power"), group_);
}

void clsChannel::Read_Lo_Power() {
    if (hasPowerBits()) controls_.chkLoPower[std::size_t(channel_)] = checked("low_power");
}

void clsChannel::Read_Narrow_Band() {
    controls_.chkNarr[std::size_t(channel_)] = checked("narrow");
}

void clsChannel::Read_Scan_List() {
    controls_.chkScan[std::size_t(channel_)] = checked("scan");
}

void clsChannel::Write_RX_Freq() {
    rxFreq_ = grid_.cellText(kRxFreq, channel_);
    setValue("rx_freq", rxFreq_);
}

void clsChannel::Write_RX_CG() {
    setValue("rx_cg", grid_.cellText(kRxCG, channel_));
}

void clsChannel::Write_TX_Freq() {
    txFreq_ = grid_.cellText(kTxFreq, channel_);
    setValue("tx_freq", txFreq_);
}

void clsChannel::Write_TX_CG() {
    setValue("tx_cg", grid_.cellText(kTxCG, channel_));
}

void clsChannel::Write_Chan_Alpha() {
    label_ = grid_.cellText(kLabel, channel_);
    setValue("label", label_);
}

void clsChannel::Write_Lo_Power() {
    if (hasPowerBits()) setChecked("low_power", controls_.chkLoPower[std::size_t(channel_)]);
}

void clsChannel::Write_Narrow_Band() {
    setChecked("narrow", controls_.chkNarr[std::size_t(channel_)]);
}

void clsChannel::Write_Scan_List() {
    setChecked("scan", controls_.chkScan[std::size_t(channel_)]);
}

}  // namespace tav
