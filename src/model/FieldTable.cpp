#include "model/FieldTable.h"

#include <algorithm>
#include <bit>

#include "model/ChannelBits.h"
#include "model/ChannelPower.h"
#include "model/ControlLists.h"
#include "model/LabelText.h"
#include "model/MGlobals.h"
#include "model/NumberText.h"

namespace tav {

namespace {

using S = FieldScope;
using T = FieldType;
using H = FieldHome;

// Numbers as the printout writes them: no trailing zeros.
QStringList printedNumbers(int count, double first, double step) {
    QStringList l;
    for (int n = 0; n < count; ++n) l << QString::number(first + n * step, 'g', 15);
    return l;
}

QStringList counted(int count, int first) {
    QStringList l;
    for (int n = 0; n < count; ++n) l << QString::number(first + n);
    return l;
}

const QStringList kOffOn{"Disabled", "Enabled"};

std::vector<FieldDef> buildTable() {
    std::vector<FieldDef> t = {
        // ---- The unit: page 0.
        {.key = "dtmf_deviation",
         .scope = S::Unit,
         .type = T::List,
         .home = H::UnitByte,
         .offset = 7,
         .mask = 0xF8,
         .name = "Single Tone Deviation",
         .caption = "Single tone deviation (Hz)",
         .entries = lists::dtmfDeviations(),
         .printCaption = "DTMF Dev = ",
         .printTexts = printedNumbers(32, 0, 187.5)},
        {.key = "front_porch_time",
         .scope = S::Unit,
         .type = T::List,
         .home = H::UnitByte,
         .offset = 7,
         .mask = 0x03,
         .name = "Front Porch Time",
         .caption = "Front Porch Time in Milliseconds:",
         .entries = lists::porchTimes(),
         .printCaption = "Front Porch Time = "},
        {.key = "ani_rate",
         .scope = S::Unit,
         .type = T::List,
         .home = H::UnitByte,
         .offset = 7,
         .mask = 0x04,
         .name = "ANI Rate",
         .caption = "ANI Rate in Chars/Second:",
         .entries = lists::aniRates(),
         .printCaption = "ANI Rate = "},
        {.key = "priority_rate",
         .scope = S::Unit,
         .type = T::List,
         .home = H::UnitByte,
         .offset = 6,
         .mask = 0x78,
         .name = "Priority Rate",
         .caption = "Priority Rate in seconds:",
         .entries = lists::priorityRates(),
         .printCaption = "Priority Rate = ",
         .printTexts = printedNumbers(16, 0.25, 0.25)},
        {.key = "global_battery_saver",
         .scope = S::Unit,
         .type = T::List,
         .home = H::UnitByte,
         .offset = 6,
         .mask = 0x80,
         .name = "Global Battery Saver",
         .caption = "Global Battery Saver:",
         .entries = lists::batterySaverInhibit(),
         .printCaption = "Global Battery Saver is ",
         .printTexts = {"Enabled", "Inhibited"}},
        {.key = "display_frequencies_only",
         .scope = S::Unit,
         .type = T::List,
         .home = H::UnitByte,
         .offset = 104,
         .mask = 0x80,
         .name = "Display Frequencies Only",
         .caption = "Display Frequencies Only:",
         .entries = lists::disabledEnabled(),
         .printCaption = "Display Frequencies Only is "},
        // Set by the factory: the editor shows it and never writes it.
        {.key = "per_channel_bandwidth",
         .scope = S::Unit,
         .type = T::Check,
         .home = H::UnitByte,
         .offset = kCapabilityByte,
         .mask = kBandwidthCapable,
         .editable = false,
         .name = "Per Channel Bandwidth",
         .caption = "Per Channel Bandwidth",
         .printCaption = "Per Channel Bandwidth is ",
         .printTexts = kOffOn},
        {.key = "bank_scan",
         .scope = S::Unit,
         .type = T::List,
         .home = H::UnitByte,
         .offset = 6,
         .mask = 0x01,
         .name = "Bank Scan",
         .caption = "Bank Scan:",
         .entries = lists::disabledEnabled(),
         .printCaption = "Bank Scan is "},
        {.key = "password",
         .scope = S::Unit,
         .type = T::HexDigits,
         .home = H::UnitByte,
         .offset = 11,
         .bytes = 3,
         .name = "Password",
         .caption = "Pass Word:",
         .printCaption = "Unit Password = "},

        // ---- A group: its page, its label slot and its backlight byte.
        {.key = "label",
         .scope = S::Group,
         .type = T::Label,
         .home = H::GroupLabel,
         .name = "Label",
         .caption = "Group Label",
         .printCaption = "Group Label: "},
        {.key = "scan_hold_time",
         .scope = S::Group,
         .type = T::List,
         .home = H::GroupByte,
         .offset = 2,
         .mask = 0xF0,
         .name = "Scan Hold Time",
         .caption = "Scan Hold Time:",
         .entries = lists::scanHoldTimes(),
         .printCaption = "Scan Hold Time = ",
         .printTexts = printedNumbers(16, 0, 0.5)},
        {.key = "time_out_timer",
         .scope = S::Group,
         .type = T::List,
         .home = H::GroupByte,
         .offset = 2,
         .mask = 0x0F,
         .name = "Time Out Timer",
         .caption = "Tx Time Out Timer:",
         .entries = lists::timeOutTimes(),
         .printCaption = "Time Out Timer = "},
        {.key = "ani_id",
         .scope = S::Group,
         .type = T::HexDigits,
         .home = H::GroupByte,
         .offset = 4,
         .bytes = 4,
         .mask = 0x0F,
         .name = "ANI/ID Number",
         .caption = "ANI/ID Number:",
         .printCaption = "ANI/ID Number: "},
        // By stored number: bits 00 select A, 01 D, 10 B and 11 C.
        {.key = "priority_mode",
         .scope = S::Group,
         .type = T::List,
         .home = H::GroupByte,
         .offset = 3,
         .mask = 0xC0,
         .name = "Priority Mode",
         .caption = "Mode",
         .entries = {"A", "D", "B", "C"},
         .printCaption = "Priority Mode: "},
        // 14 and 15 show as channel 1 in the window; the printout writes them as they are.
        {.key = "priority_channel",
         .scope = S::Group,
         .type = T::List,
         .home = H::GroupByte,
         .offset = 3,
         .mask = 0x0F,
         .name = "Priority Channel",
         .caption = "Channel",
         .entries = lists::priorityChannels(),
         .printCaption = "Priority Channel: ",
         .printTexts = counted(16, 1)},
        {.key = "priority_key_lockout",
         .scope = S::Group,
         .type = T::Check,
         .home = H::GroupByte,
         .offset = 3,
         .mask = 0x20,
         .name = "Priority Key Lockout",
         .caption = "Priority Key Lockout",
         .printCaption = "Priority Key: ",
         .printTexts = {"Enabled", "Locked Out"}},
        {.key = "ent_clr_key_lockout",
         .scope = S::Group,
         .type = T::Check,
         .home = H::GroupByte,
         .offset = 3,
         .mask = 0x10,
         .name = "ENT/CLR Key Lockout",
         .caption = "'ENT'/'CLR' Key Lockout",
         .printCaption = "'ENT' & 'CLR' Keys: ",
         .printTexts = {"Enabled", "Locked Out"}},
        {.key = "battery_saver",
         .scope = S::Group,
         .type = T::List,
         .home = H::GroupByte,
         .offset = 0,
         .mask = 0x80,
         .name = "Battery Saver",
         .caption = "Battery Saver",
         .entries = {"On", "Off"},
         .printCaption = "Battery Saver: "},
        {.key = "user_code_guard",
         .scope = S::Group,
         .type = T::List,
         .home = H::GroupByte,
         .offset = 0,
         .mask = 0x40,
         .name = "User Code Guard",
         .caption = "User Code Guard",
         .entries = kOffOn,
         .printCaption = "User Code Guard is "},
        // 15 shows as OFF in the window and on the printout.
        {.key = "ucg_channel",
         .scope = S::Group,
         .type = T::List,
         .home = H::GroupByte,
         .offset = 8,
         .mask = 0x0F,
         .name = "User Code Guard Channel",
         .caption = "Chan:",
         .entries = lists::ucgChannels(),
         .printCaption = "User code Guard Channel: "},
        {.key = "ucg_encode_only",
         .scope = S::Group,
         .type = T::Check,
         .home = H::GroupByte,
         .offset = 8,
         .mask = 0x80,
         .name = "User Code Guard Encode Only",
         .caption = "Encode Only",
         .printCaption = "User Code Guard Encode Only: ",
         .printTexts = {"No", "Yes"}},
        {.key = "busy_channel_indicator",
         .scope = S::Group,
         .type = T::List,
         .home = H::GroupByte,
         .offset = 4,
         .mask = 0xC0,
         .name = "Busy Channel Indicator",
         .caption = "Busy Channel Indicator",
         .entries = lists::busyChannel(),
         .printCaption = "Busy Channel Indicator: ",
         .printTexts = {"Off", "Indicate", "Override", "Lockout"}},
        {.key = "resident_ani_dtmf",
         .scope = S::Group,
         .type = T::List,
         .home = H::GroupByte,
         .offset = 4,
         .mask = 0x30,
         .name = "Resident ANI/DTMF",
         .caption = "Resident ANI/DTMF",
         .entries = lists::aniDtmf(),
         .printCaption = "Resident ANI/DTMF: ",
         .printTexts = {"Off", "DTMF Only", "ANI Only", "DTMF w/Manual ANI"}},
        {.key = "alpha_enabled",
         .scope = S::Group,
         .type = T::Check,
         .home = H::Backlight,
         .mask = 0x01,
         .name = "Alpha Enabled",
         .caption = "Alpha Enabled",
         .printCaption = "Alpha is ",
         .printTexts = kOffOn},
        {.key = "backlight_timeout",
         .scope = S::Group,
         .type = T::List,
         .home = H::Backlight,
         .mask = 0x0E,
         .name = "Backlight Timeout",
         .caption = "Timeout",
         .entries = lists::backlightTimeouts(),
         .printCaption = "Backlight Timeout: ",
         .printTexts = {"Always off", "1 second", "2 seconds", "3 seconds", "4 seconds",
                        "5 seconds", "6 seconds", "Always On"}},
        // The printout names the events that are on after "Backlight on ".
        {.key = "backlight_channel_change",
         .scope = S::Group,
         .type = T::Check,
         .home = H::Backlight,
         .mask = 0x80,
         .name = "Backlight on Channel Change",
         .caption = "Channel Change",
         .printTexts = {"", "Channel Change"}},
        {.key = "backlight_scan_state_change",
         .scope = S::Group,
         .type = T::Check,
         .home = H::Backlight,
         .mask = 0x40,
         .name = "Backlight on Scan State Change",
         .caption = "Scan State Change",
         .printTexts = {"", "Scan State Change"}},
        {.key = "backlight_other_display",
         .scope = S::Group,
         .type = T::Check,
         .home = H::Backlight,
         .mask = 0x20,
         .name = "Backlight on Other Display",
         .caption = "Other Display",
         .printTexts = {"", "Other Display"}},
        {.key = "backlight_keypress",
         .scope = S::Group,
         .type = T::Check,
         .home = H::Backlight,
         .mask = 0x10,
         .name = "Backlight on Keypress",
         .caption = "Keypress",
         .printTexts = {"", "Keypress"}},

        // ---- A channel: its record, its label slot and its three mask bits.
        {.key = "rx_freq",
         .scope = S::Channel,
         .type = T::Frequency,
         .home = H::ChannelRecord,
         .offset = 0,
         .bytes = 2,
         .name = "Rx Freq",
         .caption = "Rec Freq",
         .printCaption = "Rec Freq"},
        {.key = "rx_cg",
         .scope = S::Channel,
         .type = T::ChannelGuard,
         .home = H::ChannelRecord,
         .offset = 2,
         .bytes = 2,
         .name = "Rx CG",
         .caption = "Rec CG",
         .printCaption = "Rec CG"},
        {.key = "tx_freq",
         .scope = S::Channel,
         .type = T::Frequency,
         .home = H::ChannelRecord,
         .offset = 4,
         .bytes = 2,
         .name = "Tx Freq",
         .caption = "Tx Freq",
         .printCaption = "Tx Freq"},
        {.key = "tx_cg",
         .scope = S::Channel,
         .type = T::ChannelGuard,
         .home = H::ChannelRecord,
         .offset = 6,
         .bytes = 2,
         .name = "Tx CG",
         .caption = "Tx CG",
         .printCaption = "Tx CG"},
        {.key = "label",
         .scope = S::Channel,
         .type = T::Label,
         .home = H::ChannelLabel,
         .name = "Label",
         .caption = "Ch Label",
         .printCaption = "Label"},
        {.key = "scan",
         .scope = S::Channel,
         .type = T::Check,
         .home = H::ScanBit,
         .name = "Scan",
         .caption = "SCAN List",
         .printCaption = "Scan",
         .printTexts = {"", "S"}},
        {.key = "narrow",
         .scope = S::Channel,
         .type = T::Check,
         .home = H::NarrowBit,
         .name = "Narrow",
         .caption = "Narrow Band",
         .printCaption = "Narrow",
         .printTexts = {"", "N"}},
        // A set bit is high power; the check box shows low power.
        {.key = "low_power",
         .scope = S::Channel,
         .type = T::Check,
         .home = H::PowerBit,
         .name = "Low Power",
         .caption = "Low Power",
         .printCaption = "Low Power",
         .inverted = true},
    };
    return t;
}

ImageBits eeBits(int page, int address, uint8_t mask) {
    return {ImageBlock::EEImage, page * kPageSize + address, mask};
}

ImageBits labelBits(int group, int slot, int k, uint8_t mask) {
    return {ImageBlock::LabelImage, AppState::labelIndex(group, slot, k), mask};
}

std::vector<ImageBits> labelSlot(int group, int slot) {
    std::vector<ImageBits> bits;
    for (int k = 0; k < kLabelCells; ++k) bits.push_back(labelBits(group, slot, k, 0xFF));
    return bits;
}

// Bytes from `first`, the first under the field's mask.
std::vector<ImageBits> byteRun(const FieldDef& f, int page, int first) {
    std::vector<ImageBits> bits;
    for (int i = 0; i < f.bytes; ++i)
        bits.push_back(eeBits(page, first + i, i == 0 ? f.mask : 0xFF));
    return bits;
}

uint8_t& byteOf(AppState& s, const ImageBits& b) {
    switch (b.block) {
        case ImageBlock::LabelImage:
            return s.LabelImage.at(std::size_t(b.index));
        case ImageBlock::PowerMask:
            return s.PowerMask.at(std::size_t(b.index));
        case ImageBlock::EEImage:
            break;
    }
    return s.EEImage.at(std::size_t(b.index));
}

uint8_t byteOf(const AppState& s, const ImageBits& b) {
    return byteOf(const_cast<AppState&>(s), b);
}

void setBits(AppState& s, const ImageBits& b, uint8_t value) {
    uint8_t& byte = byteOf(s, b);
    byte = static_cast<uint8_t>((byte & ~b.mask) | (value & b.mask));
}

int labelSlotOf(const FieldDef& f, int channel) {
    return f.home == FieldHome::GroupLabel ? kGroupLabelSlot : channel;
}

int shiftOf(uint8_t mask) {
    return std::countr_zero(static_cast<unsigned>(mask));
}

// The list entry a number shows: a number beyond the list shows its first entry.
int entryIndex(const FieldDef& f, int number) {
    return number < f.entries.size() ? number : 0;
}

int listIndexOf(const FieldDef& f, const QString& text) {
    const QString wanted = text.trimmed();
    for (int i = 0; i < f.entries.size(); ++i)
        if (f.entries[i].trimmed().compare(wanted, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QString hexText(const AppState& s, const std::vector<ImageBits>& bits) {
    QString t;
    for (const ImageBits& b : bits) {
        const int v = byteOf(s, b) & b.mask;
        t += b.mask == 0x0F ? QString::number(v, 16).toUpper() : HexByteText(v);
    }
    return t;
}

bool isHexText(const FieldDef& f, const QString& value) {
    if (value.isEmpty() || value.size() > HexDigitCount(f)) return false;
    return std::all_of(value.begin(), value.end(), [](QChar c) { return IsHexDigit(c); });
}

}  // namespace

const std::vector<FieldDef>& FieldTable() {
    static const std::vector<FieldDef> kTable = buildTable();
    return kTable;
}

const FieldDef* FindField(FieldScope scope, const QString& key) {
    for (const FieldDef& f : FieldTable())
        if (f.scope == scope && key == QLatin1String(f.key)) return &f;
    return nullptr;
}

bool FieldExists(const FieldDef& f, int group) {
    return f.home != FieldHome::PowerBit || group <= kLastPoweredGroup;
}

int HexDigitCount(const FieldDef& f) {
    return 2 * f.bytes - (f.mask == 0x0F ? 1 : 0);
}

std::vector<ImageBits> FieldBits(const FieldDef& f, int group, int channel) {
    const int page = group < 0 ? 0 : GroupNumber::page(group);
    switch (f.home) {
        case FieldHome::UnitByte:
            return byteRun(f, 0, f.offset);
        case FieldHome::GroupByte:
            return byteRun(f, page, f.offset);
        case FieldHome::ChannelRecord:
            return byteRun(f, page, channelRecord(channel) + f.offset);
        case FieldHome::GroupLabel:
        case FieldHome::ChannelLabel:
            return labelSlot(group, labelSlotOf(f, channel));
        case FieldHome::Backlight:
            return {labelBits(group, kBacklightSlot, kBacklightCell, f.mask)};
        case FieldHome::ScanBit: {
            const ChannelBit bit = channelBit(channel);
            return {eeBits(page, kScanListOffset + bit.byteIndex, bit.mask)};
        }
        case FieldHome::NarrowBit: {
            const ChannelBit bit = channelBit(channel);
            return {eeBits(0, bandwidthAddress(group) + bit.byteIndex, bit.mask)};
        }
        case FieldHome::PowerBit: {
            return {{ImageBlock::PowerMask, int(powerMaskIndex(group, channel)),
                     channelBit(channel).mask}};
        }
    }
    return {};
}

int FieldNumber(const AppState& s, const FieldDef& f, int group, int channel) {
    const ImageBits b = FieldBits(f, group, channel).front();
    return (byteOf(s, b) & b.mask) >> shiftOf(b.mask);
}

int FieldEntry(const AppState& s, const FieldDef& f, int group, int channel) {
    return entryIndex(f, FieldNumber(s, f, group, channel));
}

void WriteFieldNumber(AppState& s, const FieldDef& f, int group, int channel, int number) {
    const ImageBits b = FieldBits(f, group, channel).front();
    setBits(s, b, static_cast<uint8_t>(number << shiftOf(b.mask)));
}

bool FieldChecked(const AppState& s, const FieldDef& f, int group, int channel) {
    return (FieldNumber(s, f, group, channel) != 0) != f.inverted;
}

void WriteFieldCheck(AppState& s, const FieldDef& f, int group, int channel, bool checked) {
    WriteFieldNumber(s, f, group, channel, checked != f.inverted ? 1 : 0);
}

QString FieldPrintText(const FieldDef& f, int number) {
    return f.printTexts.isEmpty() ? f.entries.value(entryIndex(f, number))
                                  : f.printTexts.value(number);
}

const FieldDef& Field(FieldScope scope, const char* key) {
    const FieldDef* f = FindField(scope, QLatin1String(key));
    if (!f) qFatal("no field %s in the field table", key);
    return *f;
}

QString ReadFieldValue(const AppState& s, const FieldDef& f, int group, int channel) {
    const std::vector<ImageBits> bits = FieldBits(f, group, channel);
    switch (f.type) {
        case FieldType::List:
            return f.entries.value(FieldEntry(s, f, group, channel)).trimmed();
        case FieldType::Check:
            return FieldChecked(s, f, group, channel) ? QStringLiteral("1") : QStringLiteral("0");
        case FieldType::HexDigits:
            return hexText(s, bits);
        case FieldType::Frequency:
            return FreqBytesToText(byteOf(s, bits[0]), byteOf(s, bits[1]));
        case FieldType::ChannelGuard:
            return CGBytesToText(byteOf(s, bits[1]), byteOf(s, bits[0]));
        case FieldType::Label:
            return ShownLabelText(s, group, labelSlotOf(f, channel));
    }
    return QString();
}

bool WriteFieldValue(AppState& s, const FieldDef& f, int group, int channel, const QString& value) {
    const std::vector<ImageBits> bits = FieldBits(f, group, channel);
    switch (f.type) {
        case FieldType::List: {
            const int i = listIndexOf(f, value);
            if (i < 0) return false;
            setBits(s, bits[0], static_cast<uint8_t>(i << shiftOf(bits[0].mask)));
            return true;
        }
        case FieldType::Check:
            if (value != QLatin1String("0") && value != QLatin1String("1")) return false;
            WriteFieldCheck(s, f, group, channel, value == QLatin1String("1"));
            return true;
        case FieldType::HexDigits:
            if (!isHexText(f, value)) return false;
            WriteTypedDigits(s, f, group, channel, value);
            return true;
        case FieldType::Frequency: {
            uint8_t b1 = 0, b2 = 0;
            if (!FreqTextToBytes(value, b1, b2)) return false;
            setBits(s, bits[0], b1);
            setBits(s, bits[1], b2);
            return true;
        }
        case FieldType::ChannelGuard: {
            uint8_t h = 0, l = 0;
            if (!CGTextToBytes(value, h, l)) return false;
            setBits(s, bits[0], h);
            setBits(s, bits[1], l);
            return true;
        }
        case FieldType::Label:
            StoreLabelText(s, group, labelSlotOf(f, channel), value);
            return true;
    }
    return false;
}

void WriteTypedDigits(AppState& s, const FieldDef& f, int group, int channel,
                      const QString& typed) {
    const QString t = typed.rightJustified(HexDigitCount(f), u'0');
    int at = 0;
    for (const ImageBits& b : FieldBits(f, group, channel)) {
        const int n = b.mask == 0x0F ? 1 : 2;
        setBits(s, b, static_cast<uint8_t>(HexTextToValue(t.mid(at, n))));
        at += n;
    }
}

WriteMasks DerivedWriteMasks() {
    WriteMasks m;
    // Group 1 and its channels stand for every group: the layout is the same.
    for (const FieldDef& f : FieldTable()) {
        if (!f.editable) continue;
        for (int c = 0; c < (f.scope == FieldScope::Channel ? kChannelsPerGroup : 1); ++c) {
            for (const ImageBits& b : FieldBits(f, 0, c)) {
                if (b.block != ImageBlock::EEImage) continue;
                const int page = b.index / kPageSize, offset = b.index % kPageSize;
                if (page == 0 && f.home == FieldHome::NarrowBit) {
                    // The bandwidth pairs go to the radio as whole words, so
                    // every group's pair is open, with the bits of the channels
                    // 15 and 16 that a group does not have.
                    for (int a = kBandwidthStart; a < kBandwidthStart + kBandwidthCount; ++a)
                        m.global[std::size_t(a)] = 0xFF;
                } else {
                    (page == 0 ? m.global : m.group)[std::size_t(offset)] |= b.mask;
                }
            }
        }
    }
    return m;
}

}  // namespace tav
