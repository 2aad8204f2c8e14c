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

QString clsChannel::readCell(grid::Column column) {
    const QString text = ReadFieldValue(state_, *grid::columnField(column), group_, channel_);
    grid_.setCellText(column, channel_, text);
    return text;
}

// A text the field cannot hold leaves the image as it was.
QString clsChannel::writeCell(grid::Column column) {
    const QString text = grid_.cellText(column, channel_);
    WriteFieldValue(state_, *grid::columnField(column), group_, channel_, text);
    return text;
}

bool clsChannel::checked(const char* key) const {
    return FieldChecked(state_, Field(FieldScope::Channel, key), group_, channel_);
}

void clsChannel::setChecked(const char* key, int value) {
    WriteFieldCheck(state_, Field(FieldScope::Channel, key), group_, channel_, isChecked(value));
}

void clsChannel::Read_RX_Freq() {
    rxFreq_ = readCell(grid::RecFreq);
}

void clsChannel::Read_RX_CG() {
    readCell(grid::RecCG);
}

void clsChannel::Read_TX_Freq() {
    txFreq_ = readCell(grid::TxFreq);
}

void clsChannel::Read_TX_CG() {
    readCell(grid::TxCG);
}

void clsChannel::Read_Chan_Alpha() {
    label_ = readCell(grid::ChLabel);
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
    rxFreq_ = writeCell(grid::RecFreq);
}

void clsChannel::Write_RX_CG() {
    writeCell(grid::RecCG);
}

void clsChannel::Write_TX_Freq() {
    txFreq_ = writeCell(grid::TxFreq);
}

void clsChannel::Write_TX_CG() {
    writeCell(grid::TxCG);
}

void clsChannel::Write_Chan_Alpha() {
    label_ = writeCell(grid::ChLabel);
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
