#pragma once
// Plain values of what the windows show. The codecs fill and read these; the
// windows' field bindings copy them to and from their widgets by key. A
// control that shows one field holds its value under the field's key: a
// list's entry number (the number stored in the radio's bits), a check box's
// 0 or 1, the text of a hexadecimal or label field.

#include <QHash>
#include <QString>
#include <array>

#include "model/AppState.h"
#include "model/FieldTable.h"

namespace tav {

class FieldValues {
public:
    int number(const QString& key) const { return numbers_.value(key); }
    void setNumber(const QString& key, int number) { numbers_[key] = number; }
    QString text(const QString& key) const { return texts_.value(key); }
    void setText(const QString& key, const QString& text) { texts_[key] = text; }

private:
    QHash<QString, int> numbers_;
    QHash<QString, QString> texts_;
};

// A field's value from the image as its control shows it: a list the entry
// its number shows, a check box its state, a text field its text.
void ReadFieldControl(const AppState& s, const FieldDef& f, int group, FieldValues& values);
// And back: only the field's bits change. A list number beyond the field's
// bits (an unselected list's -1) stays inside them; hexadecimal digits are
// taken as typed (see WriteTypedDigits).
void WriteFieldControl(AppState& s, const FieldDef& f, int group, const FieldValues& values);

// The group controls of the main window, plus its three check-box columns.
struct GroupControls {
    FieldValues fields;  // the group's fields
    std::array<int, kChannelsPerGroup> chkScan{};
    std::array<int, kChannelsPerGroup> chkNarr{};
    std::array<int, kChannelsPerGroup> chkLoPower{};
};

// The controls of the global parameters window.
struct GlobalControls {
    FieldValues fields;          // the unit's fields
    int chkPerChannelPower = 0;  // shown only: whether the image has a power block
};

}  // namespace tav
