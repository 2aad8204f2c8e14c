#include "model/RadioFields.h"

#include <QStringList>

#include "model/ChannelBits.h"
#include "model/ChannelPower.h"
#include "model/ControlLists.h"
#include "model/Controls.h"
#include "model/LabelText.h"
#include "model/MGlobals.h"
#include "model/MemoryGrid.h"
#include "model/clsGlobals.h"
#include "model/clsGroup.h"

namespace tav {

QString RadioField::place() const {
    if (group < 0) return QStringLiteral("unit");
    if (channel < 0) return QStringLiteral("group %1").arg(group + 1);
    return QStringLiteral("group %1 channel %2").arg(group + 1).arg(channel + 1);
}

namespace {

// Collects the fields of one place (the unit, a group or a channel).
// The list entries, built once: a listing names hundreds of them.
struct Lists {
    QStringList aniDtmf = lists::aniDtmf();
    QStringList aniRates = lists::aniRates();
    QStringList backlightTimeouts = lists::backlightTimeouts();
    QStringList batterySaverInhibit = lists::batterySaverInhibit();
    QStringList busyChannel = lists::busyChannel();
    QStringList disabledEnabled = lists::disabledEnabled();
    QStringList dtmfDeviations = lists::dtmfDeviations();
    QStringList porchTimes = lists::porchTimes();
    QStringList priorityChannels = lists::priorityChannels();
    QStringList priorityRates = lists::priorityRates();
    QStringList scanHoldTimes = lists::scanHoldTimes();
    QStringList timeOutTimes = lists::timeOutTimes();
    QStringList ucgChannels = lists::ucgChannels();
};

const Lists& cachedLists() {
    static const Lists kLists;
    return kLists;
}

class FieldSink {
public:
    FieldSink(std::vector<RadioField>& out, int group, int channel)
        : out_(out), group_(group), channel_(channel) {}

    void text(const QString& name, const char* key, const QString& value,
              std::vector<ImageBits> bits) {
        add(name, key, FieldKind::Text, value, std::move(bits));
    }
    void label(const QString& name, const char* key, const QString& value,
               std::vector<ImageBits> bits) {
        add(name, key, FieldKind::Label, value, std::move(bits));
    }
    void list(const QString& name, const char* key, const QStringList& entries, int index,
              std::vector<ImageBits> bits) {
        add(name, key, FieldKind::Text, entries.value(index).trimmed(), std::move(bits));
    }
    void check(const QString& name, const char* key, int value, std::vector<ImageBits> bits) {
        add(name, key, FieldKind::Check, value ? QStringLiteral("1") : QStringLiteral("0"),
            std::move(bits));
    }

private:
    void add(const QString& name, const char* key, FieldKind kind, const QString& value,
             std::vector<ImageBits> bits) {
        RadioField f;
        f.group = group_;
        f.channel = channel_;
        f.name = name;
        f.key = QString::fromLatin1(key);
        f.kind = kind;
        f.value = value;
        f.bits = std::move(bits);
        out_.push_back(std::move(f));
    }

    std::vector<RadioField>& out_;
    int group_, channel_;
};

ImageBits ee(int page, int address, uint8_t mask = 0xFF) {
    return {ImageBlock::EEImage, page * kPageSize + address, mask};
}

ImageBits labelBits(int group, int slot, int k, uint8_t mask = 0xFF) {
    return {ImageBlock::LabelImage, AppState::labelIndex(group, slot, k), mask};
}

std::vector<ImageBits> labelSlot(int group, int slot) {
    std::vector<ImageBits> bits;
    for (int k = 0; k < kLabelCells; ++k) bits.push_back(labelBits(group, slot, k));
    return bits;
}

void unitFields(AppState& s, std::vector<RadioField>& out) {
    const Lists& L = cachedLists();
    GlobalControls gc;
    clsGlobals globals(s, gc);
    globals.Read_Globals();
    FieldSink f(out, -1, -1);
    f.list("Single Tone Deviation", "dtmf_deviation", L.dtmfDeviations, gc.cboDTMFDev,
           {ee(0, 7, 0xF8)});
    f.list("Front Porch Time", "front_porch_time", L.porchTimes, gc.cboPorchTime, {ee(0, 7, 0x03)});
    f.list("ANI Rate", "ani_rate", L.aniRates, gc.cboANIRate, {ee(0, 7, 0x04)});
    f.list("Priority Rate", "priority_rate", L.priorityRates, gc.cboPriRate, {ee(0, 6, 0x78)});
    f.list("Global Battery Saver", "global_battery_saver", L.batterySaverInhibit, gc.cboBattSave,
           {ee(0, 6, 0x80)});
    f.list("Display Frequencies Only", "display_frequencies_only", L.disabledEnabled,
           gc.cboFreqDisplay, {ee(0, 104, 0x80)});
    f.check("Per Channel Bandwidth", "per_channel_bandwidth", gc.chkPerChannelBandwidth,
            {ee(0, 6, 0x04)});
    f.list("Bank Scan", "bank_scan", L.disabledEnabled, gc.cboTalkBack, {ee(0, 6, 0x01)});
    f.text("Password", "password", gc.txtPassWord, {ee(0, 11), ee(0, 12), ee(0, 13)});
}

QString modeText(PriorityMode m) {
    switch (m) {
        case PriorityMode::A:
            return QStringLiteral("A");
        case PriorityMode::B:
            return QStringLiteral("B");
        case PriorityMode::C:
            return QStringLiteral("C");
        case PriorityMode::D:
            return QStringLiteral("D");
    }
    return QString();
}

void groupParameterFields(const GroupControls& gc, int g, std::vector<RadioField>& out) {
    const Lists& L = cachedLists();
    const int p = GroupPage(static_cast<int16_t>(g));
    FieldSink f(out, g, -1);
    f.label("Label", "label", gc.txtGroupLabel, labelSlot(g, kGroupLabelSlot));
    f.list("Scan Hold Time", "scan_hold_time", L.scanHoldTimes, gc.cboScan, {ee(p, 2, 0xF0)});
    f.list("Time Out Timer", "time_out_timer", L.timeOutTimes, gc.cboTOT, {ee(p, 2, 0x0F)});
    f.text("ANI/ID Number", "ani_id", gc.txtID, {ee(p, 4, 0x0F), ee(p, 5), ee(p, 6), ee(p, 7)});
    f.text("Priority Mode", "priority_mode", modeText(gc.priMode), {ee(p, 3, 0xC0)});
    f.list("Priority Channel", "priority_channel", L.priorityChannels, gc.cboPri1Chan,
           {ee(p, 3, 0x0F)});
    f.check("Priority Key Lockout", "priority_key_lockout", gc.chkPriKeyLock, {ee(p, 3, 0x20)});
    f.check("ENT/CLR Key Lockout", "ent_clr_key_lockout", gc.chkENTCLRLock, {ee(p, 3, 0x10)});
    f.text("Battery Saver", "battery_saver",
           gc.optBattSaveOff ? QStringLiteral("Off") : QStringLiteral("On"), {ee(p, 0, 0x80)});
    f.text("User Code Guard", "user_code_guard",
           gc.optUCGEnabled ? QStringLiteral("Enabled") : QStringLiteral("Disabled"),
           {ee(p, 0, 0x40)});
    f.list("User Code Guard Channel", "ucg_channel", L.ucgChannels, gc.cboUCGChan,
           {ee(p, 8, 0x0F)});
    f.check("User Code Guard Encode Only", "ucg_encode_only", gc.chkUCGEncode, {ee(p, 8, 0x80)});
    f.list("Busy Channel Indicator", "busy_channel_indicator", L.busyChannel, gc.cboBCI,
           {ee(p, 4, 0xC0)});
    f.list("Resident ANI/DTMF", "resident_ani_dtmf", L.aniDtmf, gc.cboANI, {ee(p, 4, 0x30)});
    const auto backlight = [g](uint8_t mask) {
        return std::vector<ImageBits>{labelBits(g, kBacklightSlot, kBacklightCell, mask)};
    };
    f.check("Alpha Enabled", "alpha_enabled", gc.chkAlphaEnabled, backlight(0x01));
    f.list("Backlight Timeout", "backlight_timeout", L.backlightTimeouts, gc.cboBlTimeout,
           backlight(0x0E));
    f.check("Backlight on Channel Change", "backlight_channel_change", gc.chkBlChannel,
            backlight(0x80));
    f.check("Backlight on Scan State Change", "backlight_scan_state_change", gc.chkBLScanState,
            backlight(0x40));
    f.check("Backlight on Other Display", "backlight_other_display", gc.chkBlOther,
            backlight(0x20));
    f.check("Backlight on Keypress", "backlight_keypress", gc.chkBlKeypress, backlight(0x10));
}

void channelFields(const GroupControls& gc, const MemoryGrid& grid, int g, int c,
                   std::vector<RadioField>& out) {
    namespace cf = channel_fields;
    const int p = GroupPage(static_cast<int16_t>(g));
    const int a = channelRecord(c);
    const ChannelBit bit = channelBit(c);
    const std::size_t ci = static_cast<std::size_t>(c);
    FieldSink f(out, g, c);
    f.text(cf::kRxFreq, "rx_freq", grid.cellText(1, c), {ee(p, a), ee(p, a + 1)});
    f.text(cf::kRxCG, "rx_cg", grid.cellText(2, c), {ee(p, a + 2), ee(p, a + 3)});
    f.text(cf::kTxFreq, "tx_freq", grid.cellText(3, c), {ee(p, a + 4), ee(p, a + 5)});
    f.text(cf::kTxCG, "tx_cg", grid.cellText(4, c), {ee(p, a + 6), ee(p, a + 7)});
    f.label(cf::kLabel, "label", grid.cellText(5, c), labelSlot(g, c));
    f.check(cf::kScan, "scan", gc.chkScan[ci], {ee(p, kScanListOffset + bit.byteIndex, bit.mask)});
    f.check(cf::kNarrow, "narrow", gc.chkNarr[ci],
            {ee(0, bandwidthAddress(g) + bit.byteIndex, bit.mask)});
    if (g <= kLastPoweredGroup)
        f.check(cf::kLowPower, "low_power", gc.chkLoPower[ci],
                {{ImageBlock::PowerMask, int(powerMaskIndex(g, c)), bit.mask}});
}

void groupFields(AppState& s, int g, std::vector<RadioField>& out) {
    GroupControls gc;
    MemoryGrid grid;
    s.NewGroupIndex = static_cast<int16_t>(g);
    clsGroup group(s, gc, grid);
    group.Read_Group();
    groupParameterFields(gc, g, out);
    for (int c = 0; c < kChannelsPerGroup; ++c) channelFields(gc, grid, g, c, out);
}

}  // namespace

std::vector<RadioField> ListRadioFields(const AppState& state) {
    // The codecs work on a state of their own; the caller's is left as it is.
    AppState s = state;
    std::vector<RadioField> out;
    out.reserve(600);
    unitFields(s, out);
    for (int g = 0; g < kGroupCount; ++g) groupFields(s, g, out);
    return out;
}

}  // namespace tav
