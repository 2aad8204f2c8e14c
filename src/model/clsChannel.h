#pragma once
// Codec of one channel of one group: its 8-byte record, its alpha label and
// its scan-list, narrow-band and low-power bits, to and from one grid row and
// the per-channel check boxes.

#include <QString>
#include <cstdint>

#include "model/AppState.h"
#include "model/ChannelGrid.h"
#include "model/Controls.h"

namespace tav {

class clsChannel {
public:
    // Takes its group from state.NewGroupIndex and its channel from
    // state.NewChannelIndex, as they are at this moment.
    clsChannel(AppState& state, GroupControls& controls, ChannelGrid& grid);

    void Read_Channel();
    void Write_Channel();
    void Read_RX_Freq();
    void Read_RX_CG();
    void Read_TX_Freq();
    void Read_TX_CG();
    void Read_Chan_Alpha();
    void Read_Lo_Power();
    void Read_Narrow_Band();
    void Read_Scan_List();
    void Write_RX_Freq();
    void Write_RX_CG();
    void Write_TX_Freq();
    void Write_TX_CG();
    void Write_Chan_Alpha();
    void Write_Lo_Power();
    void Write_Narrow_Band();
    void Write_Scan_List();

    int16_t channelIndex() const { return channel_; }
    // The texts last read or written.
    const QString& rxFreqText() const { return rxFreq_; }
    const QString& labelText() const { return label_; }

private:
    enum Column { kRxFreq = 1, kRxCG = 2, kTxFreq = 3, kTxCG = 4, kLabel = 5 };
    // A channel field of the table, as the window shows it, and storing it.
    QString value(const char* key) const;
    void setValue(const char* key, const QString& text);
    bool checked(const char* key) const;
    void setChecked(const char* key, int value);
    bool hasPowerBits() const;

    AppState& state_;
    GroupControls& controls_;
    ChannelGrid& grid_;
    const int16_t group_;
    const int16_t channel_;
    int16_t page_;
    QString rxFreq_, txFreq_, label_;
};

}  // namespace tav
