#include "model/RadioFields.h"

namespace tav {

QString RadioField::place() const {
    if (group < 0) return QStringLiteral("unit");
    if (channel < 0) return QStringLiteral("group %1").arg(GroupNumber::toUser(group));
    return QStringLiteral("group %1 channel %2").arg(GroupNumber::toUser(group)).arg(channel + 1);
}

namespace {

FieldKind kindOf(FieldType type) {
    switch (type) {
        case FieldType::Label:
            return FieldKind::Label;
        case FieldType::Check:
            return FieldKind::Check;
        default:
            return FieldKind::Text;
    }
}

void addFields(const AppState& s, FieldScope scope, int group, int channel,
               std::vector<RadioField>& out) {
    for (const FieldDef& f : FieldTable()) {
        if (f.scope != scope || !FieldExists(f, group)) continue;
        RadioField r;
        r.group = group;
        r.channel = channel;
        r.name = QString::fromLatin1(f.name);
        r.key = QString::fromLatin1(f.key);
        r.kind = kindOf(f.type);
        r.value = ReadFieldValue(s, f, group, channel);
        r.bits = FieldBits(f, group, channel);
        out.push_back(std::move(r));
    }
}

}  // namespace

std::vector<RadioField> ListRadioFields(const AppState& state) {
    std::vector<RadioField> out;
    out.reserve(600);
    addFields(state, FieldScope::Unit, -1, -1, out);
    for (int g = 0; g < kGroupCount; ++g) {
        addFields(state, FieldScope::Group, g, -1, out);
        for (int c = 0; c < kChannelsPerGroup; ++c)
            addFields(state, FieldScope::Channel, g, c, out);
    }
    return out;
}

}  // namespace tav
