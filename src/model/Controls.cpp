#include "model/Controls.h"

namespace tav {

namespace {
// Unit fields have no group.
int groupOf(const FieldDef& f, int group) {
    return f.scope == FieldScope::Unit ? -1 : group;
}
}  // namespace

void ReadFieldControl(const AppState& s, const FieldDef& f, int group, FieldValues& values) {
    const QString key = QLatin1String(f.key);
    const int g = groupOf(f, group);
    switch (f.type) {
        case FieldType::List:
            values.setNumber(key, FieldEntry(s, f, g, -1));
            return;
        case FieldType::Check:
            values.setNumber(key, FieldChecked(s, f, g, -1) ? 1 : 0);
            return;
        default:
            values.setText(key, ReadFieldValue(s, f, g, -1));
    }
}

void WriteFieldControl(AppState& s, const FieldDef& f, int group, const FieldValues& values) {
    const QString key = QLatin1String(f.key);
    const int g = groupOf(f, group);
    switch (f.type) {
        case FieldType::List:
            WriteFieldNumber(s, f, g, -1, values.number(key));
            return;
        case FieldType::Check:
            WriteFieldCheck(s, f, g, -1, values.number(key) != 0);
            return;
        case FieldType::HexDigits:
            WriteTypedDigits(s, f, g, -1, values.text(key));
            return;
        default:
            WriteFieldValue(s, f, g, -1, values.text(key));
    }
}

}  // namespace tav
