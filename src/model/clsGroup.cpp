#include "model/clsGroup.h"

#include "model/ChannelBits.h"
#include "model/FieldTable.h"
#include "model/LabelText.h"
#include "model/MGlobals.h"

namespace tav {

clsGroup::clsGroup(AppState& state, GroupControls& controls, ChannelGrid& grid)
    : state_(state), controls_(controls), group_(state.NewGroupIndex) {
    Q_ASSERT(group_ >= 0 && group_ < kGroupCount);
    for (int c = 0; c < kChannelsPerGroup; ++c) {
        state.NewChannelIndex = static_cast<int16_t>(c);
        channels_[std::size_t(c)] = std::make_unique<clsChannel>(state, controls, grid);
    }
}

clsGroup::~clsGroup() = default;

void clsGroup::Read_Group() {
    Read_Group_Label();
    Read_Group_Backlight();
    Read_TOT_Scan();
    Read_ID_Num();
    Read_Priority();
    Read_Battery_Saver();
    Read_Keyboard_Lockouts();
    Read_Busy_Channel_Indicate();
    Read_ANI_DTMF();
    Read_UCG_Encode();
    Read_UCG_Enable();
    Read_UCG_Chan();
    for (auto& ch : channels_) ch->Read_Channel();
}

void clsGroup::Read_Labels_Only() {
    Read_Group_Label();
    Read_Group_Backlight();
    for (auto& ch : channels_) ch->Read_Chan_Alpha();
}

void clsGroup::read(const char* key) {
    ReadFieldControl(state_, Field(FieldScope::Group, key), group_, controls_.fields);
}

void clsGroup::write(const char* key) {
    WriteFieldControl(state_, Field(FieldScope::Group, key), group_, controls_.fields);
}

void clsGroup::Read_TOT_Scan() {
    read("scan_hold_time");
    read("time_out_timer");
}

void clsGroup::Read_Group_Label() {
    read("label");
    groupLabel_ = controls_.fields.text(QStringLiteral("label"));
}

void clsGroup::Read_Group_Backlight() {
    read("backlight_timeout");
    read("alpha_enabled");
    read("backlight_channel_change");
    read("backlight_scan_state_change");
    read("backlight_other_display");
    read("backlight_keypress");
}

void clsGroup::Read_ID_Num() {
    read("ani_id");
    id_ = controls_.fields.text(QStringLiteral("ani_id"));
}

// A priority channel above 14 shows as channel 1.
void clsGroup::Read_Priority() {
    read("priority_mode");
    read("priority_channel");
}

void clsGroup::Read_Battery_Saver() {
    read("battery_saver");
}

void clsGroup::Read_Keyboard_Lockouts() {
    read("priority_key_lockout");
    read("ent_clr_key_lockout");
}

void clsGroup::Read_Busy_Channel_Indicate() {
    read("busy_channel_indicator");
}

void clsGroup::Read_ANI_DTMF() {
    read("resident_ani_dtmf");
}

void clsGroup::Read_UCG_Encode() {
    read("ucg_encode_only");
}

void clsGroup::Read_UCG_Enable() {
    read("user_code_guard");
}

// A channel above 14 shows as OFF.
void clsGroup::Read_UCG_Chan() {
    read("ucg_channel");
}

void clsGroup::Write_Group() {
    Write_Group_Label();
    Write_Group_Backlight();
    Write_TOT_Scan();
    Write_ID_Num();
    Write_Priority();
    Write_Battery_Saver();
    Write_Keyboard_Lockouts();
    Write_Busy_Channel_Indicate();
    Write_ANI_DTMF();
    Write_UCG_Encode();
    Write_UCG_Enable();
    Write_UCG_Chan();
    for (auto& ch : channels_) ch->Write_Channel();
}

// A list index beyond its field's bits (an unselected list's -1) stays inside them.
void clsGroup::Write_TOT_Scan() {
    write("scan_hold_time");
    write("time_out_timer");
}

// As typed: a short text is left-padded with zeros, what follows the seventh
// digit is dropped and any other character counts as 0.
void clsGroup::Write_ID_Num() {
    id_ = controls_.fields.text(QStringLiteral("ani_id"));
    write("ani_id");
}

void clsGroup::Write_Group_Label() {
    groupLabel_ = controls_.fields.text(QStringLiteral("label"));
    write("label");
}

// The six fields of the backlight byte fill it whole.
void clsGroup::Write_Group_Backlight() {
    write("backlight_timeout");
    write("alpha_enabled");
    write("backlight_channel_change");
    write("backlight_scan_state_change");
    write("backlight_other_display");
    write("backlight_keypress");
}

void clsGroup::Write_Priority() {
    write("priority_mode");
    write("priority_channel");
}

void clsGroup::Write_Battery_Saver() {
    write("battery_saver");
}

void clsGroup::Write_Keyboard_Lockouts() {
    write("priority_key_lockout");
    write("ent_clr_key_lockout");
}

void clsGroup::Write_Busy_Channel_Indicate() {
    write("busy_channel_indicator");
}

void clsGroup::Write_ANI_DTMF() {
    write("resident_ani_dtmf");
}

void clsGroup::Write_UCG_Encode() {
    write("ucg_encode_only");
}

void clsGroup::Write_UCG_Enable() {
    write("user_code_guard");
}

void clsGroup::Write_UCG_Chan() {
    write("ucg_channel");
}

}  // namespace tav
