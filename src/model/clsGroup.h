#pragma once
// Codec of one group (bank): its parameter bytes, group label and backlight
// byte to and from the group controls, and through its 14 channel objects
// the channel grid and the per-channel check boxes.

#include <QString>
#include <array>
#include <cstdint>
#include <memory>

#include "model/AppState.h"
#include "model/ChannelGrid.h"
#include "model/Controls.h"
#include "model/clsChannel.h"

namespace tav {

class clsGroup {
public:
    // Takes its group from state.NewGroupIndex; sets state.NewChannelIndex to
    // 0..13 while it creates its channel objects.
    clsGroup(AppState& state, GroupControls& controls, ChannelGrid& grid);
    ~clsGroup();
    clsGroup(const clsGroup&) = delete;
    clsGroup& operator=(const clsGroup&) = delete;

    void Read_Group();
    void Read_Labels_Only();
    void Read_TOT_Scan();
    void Read_Group_Label();
    void Read_Group_Backlight();
    void Read_ID_Num();
    void Read_Priority();
    void Read_Battery_Saver();
    void Read_Keyboard_Lockouts();
    void Read_Busy_Channel_Indicate();
    void Read_ANI_DTMF();
    void Read_UCG_Encode();
    void Read_UCG_Enable();
    void Read_UCG_Chan();
    void Write_Group();
    void Write_TOT_Scan();
    void Write_ID_Num();
    void Write_Group_Label();
    void Write_Group_Backlight();
    void Write_Priority();
    void Write_Battery_Saver();
    void Write_Keyboard_Lockouts();
    void Write_Busy_Channel_Indicate();
    void Write_ANI_DTMF();
    void Write_UCG_Encode();
    void Write_UCG_Enable();
    void Write_UCG_Chan();

    clsChannel& channel(int c) { return *channels_.at(std::size_t(c)); }
    const clsChannel& channel(int c) const { return *channels_.at(std::size_t(c)); }
    // The texts last handled.
    const QString& idText() const { return id_; }
    const QString& groupLabelText() const { return groupLabel_; }

private:
    void writeByte(int16_t address, int16_t mask, int16_t data);
    // A group field of the table: its number, its list entry, and storing them.
    int number(const char* key) const;
    int entry(const char* key) const;
    void setNumber(const char* key, int value);
    void setCheck(const char* key, int value);

    AppState& state_;
    GroupControls& controls_;
    const int16_t group_;
    int16_t page_;
    std::array<std::unique_ptr<clsChannel>, kChannelsPerGroup> channels_;
    QString id_, groupLabel_;
};

}  // namespace tav
