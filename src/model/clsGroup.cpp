#include "model/clsGroup.h"

#include "model/ChannelBits.h"
#include "model/FieldTable.h"
#include "model/LabelText.h"
#include "model/MGlobals.h"

namespace tav {

namespace {
// The priority mode's number by option: A 0, B 2, C 3, D 1 (bits 7 and 6).
int modeNumber(PriorityMode m) {
    switch (m) {
        case PriorityMode::A:
            return 0;
        case PriorityMode::B:
            return 2;
        case PriorityMode::C:
            return 3;
        case PriorityMode::D:
            return 1;
    }
    return 0;
}

PriorityMode modeOf(int number) {
    static constexpr PriorityMode kModes[] = {PriorityMode::A, PriorityMode::D, PriorityMode::B,
                                              PriorityMode::C};
    return kModes[number & 3];
}
}  // namespace

clsGroup::clsGroup(AppState& state, GroupControls& controls, ChannelGrid& grid)
    : state_(state), controls_(controls), group_(state.NewGroupIndex), page_(GroupPage(group_)) {
    Q_ASSERT(group_ >= 0 && group_ < kGroupCount);
    for (int c = 0; c < kChannelsPerGroup; ++c) {
        state.NewChannelIndex = static_cast<int16_t>(c);
        channels_[std::size_t(c)] = std::make_unique<clsChannel>(state, controls, grid);
    }
}

clsGroup::~clsGroup() = default;

void clsGroup::writeByte(int16_t address, int16_t mask, int16_t data) {
    WriteByte(state_, page_, address, mask, data);
}

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

int clsGroup::number(const char* key) const {
    return FieldNumber(state_, Field(FieldScope::Group, key), group_, -1);
}

int clsGroup::entry(const char* key) const {
    return FieldEntry(state_, Field(FieldScope::Group, key), group_, -1);
}

void clsGroup::setNumber(const char* key, int value) {
    WriteFieldNumber(state_, Field(FieldScope::Group, key), group_, -1, value);
}

void clsGroup::setCheck(const char* key, int value) {
    WriteFieldCheck(state_, Field(FieldScope::Group, key), group_, -1, isChecked(value));
}

void clsGroup::Read_TOT_Scan() {
    controls_.cboScan = number("scan_hold_time");
    controls_.cboTOT = number("time_out_timer");
}

void clsGroup::Read_Group_Label() {
    groupLabel_ = ShownLabelText(state_, group_, kGroupLabelSlot);
    controls_.txtGroupLabel = groupLabel_;
}

void clsGroup::Read_Group_Backlight() {
    controls_.cboBlTimeout = number("backlight_timeout");
    controls_.chkAlphaEnabled = number("alpha_enabled");
    controls_.chkBlChannel = number("backlight_channel_change");
    controls_.chkBLScanState = number("backlight_scan_state_change");
    controls_.chkBlOther = number("backlight_other_display");
    controls_.chkBlKeypress = number("backlight_keypress");
}

void clsGroup::Read_ID_Num() {
    id_ = ReadFieldValue(state_, Field(FieldScope::Group, "ani_id"), group_, -1);
    controls_.txtID = id_;
}

// A priority channel above 14 shows as channel 1.
void clsGroup::Read_Priority() {
    controls_.priMode = modeOf(number("priority_mode"));
    controls_.cboPri1Chan = entry("priority_channel");
}

void clsGroup::Read_Battery_Saver() {
    controls_.optBattSaveOff = number("battery_saver") != 0;
}

void clsGroup::Read_Keyboard_Lockouts() {
    controls_.chkPriKeyLock = number("priority_key_lockout");
    controls_.chkENTCLRLock = number("ent_clr_key_lockout");
}

void clsGroup::Read_Busy_Channel_Indicate() {
    controls_.cboBCI = number("busy_channel_indicator");
}

void clsGroup::Read_ANI_DTMF() {
    controls_.cboANI = number("resident_ani_dtmf");
}

void clsGroup::Read_UCG_Encode() {
    controls_.chkUCGEncode = number("ucg_encode_only");
}

void clsGroup::Read_UCG_Enable() {
    controls_.optUCGEnabled = number("user_code_guard") != 0;
}

// A channel above 14 shows as OFF.
void clsGroup::Read_UCG_Chan() {
    controls_.cboUCGChan = entry("ucg_channel");
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
    setNumber("scan_hold_time", controls_.cboScan);
    setNumber("time_out_timer", controls_.cboTOT);
}

// As typed: a short text is left-padded with zeros, what follows the seventh
// digit is dropped and any other character counts as 0.
void clsGroup::Write_ID_Num() {
    id_ = controls_.txtID;
    const FieldDef& f = Field(FieldScope::Group, "ani_id");
    const QString t = id_.rightJustified(HexDigitCount(f), u'0');
    writeByte(int16_t(f.offset), f.mask, int16_t(HexTextToValue(t.mid(0, 1))));
    for (int i = 1; i < f.bytes; ++i)
        writeByte(int16_t(f.offset + i), 0xFF, int16_t(HexTextToValue(t.mid(2 * i - 1, 2))));
}

void clsGroup::Write_Group_Label() {
    groupLabel_ = controls_.txtGroupLabel;
    StoreLabelText(state_, group_, kGroupLabelSlot, groupLabel_);
}

// The six fields of the backlight byte fill it whole.
void clsGroup::Write_Group_Backlight() {
    setNumber("backlight_timeout", controls_.cboBlTimeout);
    setCheck("alpha_enabled", controls_.chkAlphaEnabled);
    setCheck("backlight_channel_change", controls_.chkBlChannel);
    setCheck("backlight_scan_state_change", controls_.chkBLScanState);
    setCheck("backlight_other_display", controls_.chkBlOther);
    setCheck("backlight_keypress", controls_.chkBlKeypress);
}

void clsGroup::Write_Priority() {
    setNumber("priority_mode", modeNumber(controls_.priMode));
    setNumber("priority_channel", controls_.cboPri1Chan);
}

void clsGroup::Write_Battery_Saver() {
    setNumber("battery_saver", controls_.optBattSaveOff ? 1 : 0);
}

void clsGroup::Write_Keyboard_Lockouts() {
    setCheck("priority_key_lockout", controls_.chkPriKeyLock);
    setCheck("ent_clr_key_lockout", controls_.chkENTCLRLock);
}

void clsGroup::Write_Busy_Channel_Indicate() {
    setNumber("busy_channel_indicator", controls_.cboBCI);
}

void clsGroup::Write_ANI_DTMF() {
    setNumber("resident_ani_dtmf", controls_.cboANI);
}

void clsGroup::Write_UCG_Encode() {
    setCheck("ucg_encode_only", controls_.chkUCGEncode);
}

void clsGroup::Write_UCG_Enable() {
    setNumber("user_code_guard", controls_.optUCGEnabled ? 1 : 0);
}

void clsGroup::Write_UCG_Chan() {
    setNumber("ucg_channel", controls_.cboUCGChan);
}

}  // namespace tav
