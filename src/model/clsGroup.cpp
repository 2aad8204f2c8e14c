#include "model/clsGroup.h"

#include "model/ChannelBits.h"
#include "model/LabelText.h"
#include "model/MGlobals.h"
#include "model/NumberText.h"

namespace tav {

namespace {
// Addresses of the group parameter bytes in the group page.
constexpr int16_t kSaverUcgScan = 0;  // battery saver, UCG enable, scan list 8..13
constexpr int16_t kScanTot = 2;
constexpr int16_t kPriority = 3;  // mode, lockouts, priority channel
constexpr int16_t kBciAni = 4;    // busy channel, resident ANI/DTMF, first ID digit
constexpr int16_t kIdBytes = 5;   // 5, 6, 7: ID digits 2 to 7
constexpr int16_t kUcg = 8;       // encode only, UCG channel
constexpr int kIdDigits = 7;
constexpr int kLastPriorityChannel = 13;
constexpr int kLastUcgChannel = 14;

// Bits 7 and 6 of the priority byte by option: A 00, B 10, C 11, D 01.
uint8_t modeBits(PriorityMode m) {
    switch (m) {
        case PriorityMode::A:
            return 0x00;
        case PriorityMode::B:
            return 0x80;
        case PriorityMode::C:
            return 0xC0;
        case PriorityMode::D:
            return 0x40;
    }
    return 0x00;
}

PriorityMode modeOf(int bits76) {
    static constexpr PriorityMode kModes[] = {PriorityMode::A, PriorityMode::D, PriorityMode::B,
                                              PriorityMode::C};
    return kModes[bits76 & 3];
}

// A list index confined to its field, so an unselected list (-1) or a stray
// value cannot spill into the neighbouring field of the same byte.
int field(int index, int mask) {
    return index & mask;
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

int16_t clsGroup::readByte(int16_t address) const {
    return intRead_Addrs(state_, page_, address);
}

void clsGroup::writeByte(int16_t address, int16_t mask, int16_t data) {
    WriteByte(state_, page_, address, mask, data);
}

uint8_t& clsGroup::backlightByte() {
    return state_.label(group_, kBacklightSlot, kBacklightCell);
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

void clsGroup::Read_TOT_Scan() {
    const int16_t b = readByte(kScanTot);
    controls_.cboScan = b >> 4;
    controls_.cboTOT = b & 15;
}

void clsGroup::Read_Group_Label() {
    groupLabel_ = ShownLabelText(state_, group_, kGroupLabelSlot);
    controls_.txtGroupLabel = groupLabel_;
}

void clsGroup::Read_Group_Backlight() {
    const uint8_t b = backlightByte();
    controls_.cboBlTimeout = (b & 0x0E) >> 1;
    controls_.chkAlphaEnabled = b & 1;
    controls_.chkBlChannel = (b >> 7) & 1;
    controls_.chkBLScanState = (b >> 6) & 1;
    controls_.chkBlOther = (b >> 5) & 1;
    controls_.chkBlKeypress = (b >> 4) & 1;
}

void clsGroup::Read_ID_Num() {
    QString t = QString::number(readByte(kBciAni) & 15, 16).toUpper();
    for (int16_t a = kIdBytes; a < kIdBytes + 3; ++a) t += HexByteText(readByte(a));
    id_ = t;
    controls_.txtID = t;
}

void clsGroup::Read_Priority() {
    const int16_t b = readByte(kPriority);
    controls_.priMode = modeOf(b >> 6);
    int c = b & 15;
    if (c > kLastPriorityChannel) c = 0;
    controls_.cboPri1Chan = c;
}

void clsGroup::Read_Battery_Saver() {
    controls_.optBattSaveOff = (readByte(kSaverUcgScan) & 0x80) != 0;
}

void clsGroup::Read_Keyboard_Lockouts() {
    const int16_t b = readByte(kPriority);
    controls_.chkPriKeyLock = (b >> 5) & 1;
    controls_.chkENTCLRLock = (b >> 4) & 1;
}

void clsGroup::Read_Busy_Channel_Indicate() {
    controls_.cboBCI = (readByte(kBciAni) & 0xC0) >> 6;
}

void clsGroup::Read_ANI_DTMF() {
    controls_.cboANI = (readByte(kBciAni) & 0x30) >> 4;
}

void clsGroup::Read_UCG_Encode() {
    controls_.chkUCGEncode = (readByte(kUcg) >> 7) & 1;
}

void clsGroup::Read_UCG_Enable() {
    controls_.optUCGEnabled = (readByte(kSaverUcgScan) & 0x40) != 0;
}

void clsGroup::Read_UCG_Chan() {
    int c = readByte(kUcg) & 15;
    if (c > kLastUcgChannel) c = 0;
    controls_.cboUCGChan = c;
}

void clsGroup::write_change(int16_t& intGroup) {
    (void)intGroup;
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

void clsGroup::Write_TOT_Scan() {
    writeByte(kScanTot, 0xFF,
              int16_t(field(controls_.cboScan, 15) * 16 + field(controls_.cboTOT, 15)));
}

void clsGroup::Write_ID_Num() {
    id_ = controls_.txtID;
    const QString t = id_.rightJustified(kIdDigits, u'0');
    writeByte(kBciAni, 0x0F, int16_t(HexTextToValue(t.mid(0, 1))));
    for (int i = 1; i <= 3; ++i)
        writeByte(int16_t(kBciAni + i), 0xFF, int16_t(HexTextToValue(t.mid(2 * i - 1, 2))));
}

void clsGroup::Write_Group_Label() {
    groupLabel_ = controls_.txtGroupLabel;
    StoreLabelText(state_, group_, kGroupLabelSlot, groupLabel_);
}

void clsGroup::Write_Group_Backlight() {
    uint8_t b = static_cast<uint8_t>(field(controls_.cboBlTimeout, 7) * 2);
    if (isChecked(controls_.chkAlphaEnabled)) b |= 0x01;
    if (isChecked(controls_.chkBlChannel)) b |= 0x80;
    if (isChecked(controls_.chkBLScanState)) b |= 0x40;
    if (isChecked(controls_.chkBlOther)) b |= 0x20;
    if (isChecked(controls_.chkBlKeypress)) b |= 0x10;
    backlightByte() = b;
}

void clsGroup::Write_Priority() {
    writeByte(kPriority, 0xCF,
              int16_t(modeBits(controls_.priMode) + field(controls_.cboPri1Chan, 15)));
}

void clsGroup::Write_Battery_Saver() {
    writeByte(kSaverUcgScan, 0x80, controls_.optBattSaveOff ? 0x80 : 0);
}

void clsGroup::Write_Keyboard_Lockouts() {
    writeByte(kPriority, 0x20, isChecked(controls_.chkPriKeyLock) ? 0x20 : 0);
    writeByte(kPriority, 0x10, isChecked(controls_.chkENTCLRLock) ? 0x10 : 0);
}

void clsGroup::Write_Busy_Channel_Indicate() {
    writeByte(kBciAni, 0xC0, int16_t(field(controls_.cboBCI, 3) * 64));
}

void clsGroup::Write_ANI_DTMF() {
    writeByte(kBciAni, 0x30, int16_t(field(controls_.cboANI, 3) * 16));
}

void clsGroup::Write_UCG_Encode() {
    writeByte(kUcg, 0x80, isChecked(controls_.chkUCGEncode) ? 0x80 : 0);
}

void clsGroup::Write_UCG_Enable() {
    writeByte(kSaverUcgScan, 0x40, controls_.optUCGEnabled ? 0x40 : 0);
}

void clsGroup::Write_UCG_Chan() {
    writeByte(kUcg, 0x0F, int16_t(field(controls_.cboUCGChan, 15)));
}

}  // namespace tav
