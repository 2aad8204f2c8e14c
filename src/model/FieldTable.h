#pragma once
// Every field of the radio, declared once: its key (the names `tavctl dump
// --json` prints, a published contract), its captions, where its bits sit and
// under which mask, its kind with its list, and whether the editor may change
// it. The dump and diff, editing by name and the derived write masks read
// this table; nothing else needs to spell a field's address, mask or list.

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

#include "model/AppState.h"

namespace tav {

enum class ImageBlock { EEImage, LabelImage, PowerMask };

// Bits of one byte of one of the three images.
struct ImageBits {
    ImageBlock block;
    int index;  // element of the block
    uint8_t mask;
};

enum class FieldScope { Unit, Group, Channel };

enum class FieldType {
    List,          // the stored number picks an entry of the field's list
    HexDigits,     // hexadecimal digits, high nibble first
    Frequency,     // two frequency bytes (B1, B2)
    ChannelGuard,  // two channel-guard bytes (H, L)
    Check,         // one bit: "1" or "0"
    Label,         // eight cells of the label table
};

// Where a field's bytes are, relative to its group and channel.
enum class FieldHome {
    UnitByte,       // page 0, from `offset`
    GroupByte,      // the group's page, from `offset`
    ChannelRecord,  // the channel's 8-byte record, from `offset` within it
    GroupLabel,     // label slot 14 of the group
    ChannelLabel,   // label slot of the channel
    Backlight,      // the group's backlight byte in the label table
    ScanBit,        // the channel's bit of the scan-list pair (group page, bytes 0 and 1)
    NarrowBit,      // the channel's bit of the group's bandwidth pair (page 0, bytes 36 to 65)
    PowerBit,       // the channel's bit of the group's power pair (PowerMask)
};

struct FieldDef {
    const char* key;  // "time_out_timer"
    FieldScope scope;
    FieldType type;
    FieldHome home;
    int offset = 0;       // first byte, for the homes that count bytes
    int bytes = 1;        // bytes from `offset`: the first under `mask`, the rest whole
    uint8_t mask = 0xFF;  // a list's or check box's bits; the first byte's bits otherwise
    bool editable = true;
    const char* name = "";     // as the dump's diff and the CSV header name it
    const char* caption = "";  // the window's caption of its control
    QStringList entries{};     // a list's texts by stored number, as the window shows them
    // The printout words some values differently from the window ("OFF" and
    // "Off", "DTMF w/ manual ANI" and "DTMF w/Manual ANI", "1 Second" and
    // "1 second"); both wordings are the radio's own, so both are kept here.
    const char* printCaption = "";  // the printout's words before the value
    QStringList printTexts{};       // by stored number, where the printout's words differ
    bool inverted = false;          // a check box shown checked when its bit is clear
};

// The whole table: unit fields, then group fields, then channel fields, each
// in the order the dump prints them.
const std::vector<FieldDef>& FieldTable();
// The entry of `key` in `scope`; null when there is none.
const FieldDef* FindField(FieldScope scope, const QString& key);

// Whether group index `group` has the field: group 15 has no power setting.
bool FieldExists(const FieldDef& f, int group);
// The image bits of the field at (group index, channel index).
std::vector<ImageBits> FieldBits(const FieldDef& f, int group, int channel);
// The number a list or check box field holds (0 or 1 for a check box, before inversion).
int FieldNumber(const AppState& s, const FieldDef& f, int group, int channel);

// The entry of the field's list that its number shows: a number beyond the list shows
// the first entry.
int FieldEntry(const AppState& s, const FieldDef& f, int group, int channel);
// Stores `number` in the field's bits; what lies beyond them is dropped.
void WriteFieldNumber(AppState& s, const FieldDef& f, int group, int channel, int number);
// A check box field as the window shows it, inversion applied; and stored.
bool FieldChecked(const AppState& s, const FieldDef& f, int group, int channel);
void WriteFieldCheck(AppState& s, const FieldDef& f, int group, int channel, bool checked);
// The field of `key`, for the codecs' accessors; a key the table lacks is a
// fault of the program and stops it.
const FieldDef& Field(FieldScope scope, const char* key);

// The printout's words for a list or check box field's number.
QString FieldPrintText(const FieldDef& f, int number);

// The value as the windows show it (a list's entry without its padding;
// check boxes "1" or "0"; an empty label as " BLANK  ").
QString ReadFieldValue(const AppState& s, const FieldDef& f, int group, int channel);
// Stores a value in the form ReadFieldValue gives (a list entry by its text,
// any letter case); only the field's bits change. False, and nothing changed,
// when the field's encoding cannot hold the text.
bool WriteFieldValue(AppState& s, const FieldDef& f, int group, int channel, const QString& value);

// The number of digits a hexadecimal field holds.
int HexDigitCount(const FieldDef& f);

// The bits of page 0 and of a group page that the editor may change, from the
// editable fields of the table.
struct WriteMasks {
    std::array<uint8_t, kPageSize> global{};
    std::array<uint8_t, kPageSize> group{};
};
WriteMasks DerivedWriteMasks();

// The numberings of a group: the user's 1-15, the index 0-14 and its EEPROM page 1-15.
struct GroupNumber {
    static constexpr int fromUser(int number) { return number - 1; }
    static constexpr int toUser(int index) { return index + 1; }
    static constexpr int page(int index) { return groupPage(index); }
};

}  // namespace tav
