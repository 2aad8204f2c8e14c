#include "model/FieldPaths.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <vector>

#include "model/EntryRules.h"
#include "model/FieldTable.h"
#include "model/RadioFields.h"

namespace tav {

namespace {

constexpr int kAll = -1;

// A path taken apart: the field and where, kAll standing for "*".
struct FieldPath {
    const FieldDef* def = nullptr;
    int group = kAll;
    int channel = kAll;
};

const QString kPathForm =
    QStringLiteral("not a field path (unit.KEY, group.N.KEY or group.N.channel.M.KEY)");

// A group or channel number 1..last as an index, or "*".
bool placeNumber(const QString& text, int last, const char* what, int& index, QString& why) {
    static const QRegularExpression kDigits(QStringLiteral("^[0-9]{1,3}$"));
    if (text == QLatin1String("*")) {
        index = kAll;
        return true;
    }
    const int n = kDigits.match(text).hasMatch() ? text.toInt() : 0;
    if (n >= 1 && n <= last) {
        index = GroupNumber::fromUser(n);
        return true;
    }
    why = QStringLiteral("no %1 %2: %1s are 1 to %3 or *").arg(QLatin1String(what), text).arg(last);
    return false;
}

bool parsePath(const QString& path, FieldPath& p, QString& why) {
    const QStringList parts = path.split(u'.');
    FieldScope scope = FieldScope::Unit;
    if (parts.size() == 2 && parts[0] == QLatin1String("unit")) {
        scope = FieldScope::Unit;
    } else if (parts.size() == 3 && parts[0] == QLatin1String("group")) {
        scope = FieldScope::Group;
        if (!placeNumber(parts[1], kGroupCount, "group", p.group, why)) return false;
    } else if (parts.size() == 5 && parts[0] == QLatin1String("group") &&
               parts[2] == QLatin1String("channel")) {
        scope = FieldScope::Channel;
        if (!placeNumber(parts[1], kGroupCount, "group", p.group, why)) return false;
        if (!placeNumber(parts[3], kChannelsPerGroup, "channel", p.channel, why)) return false;
    } else {
        why = kPathForm;
        return false;
    }
    p.def = FindField(scope, parts.last());
    if (!p.def) {
        static const char* const kScopes[] = {"unit", "group", "channel"};
        why = QStringLiteral("no %1 field \"%2\"")
                  .arg(QLatin1String(kScopes[int(scope)]), parts.last());
        return false;
    }
    if (p.group != kAll && !FieldExists(*p.def, p.group)) {
        why = QStringLiteral("group %1 has no %2 setting")
                  .arg(GroupNumber::toUser(p.group))
                  .arg(QString::fromLatin1(p.def->name).toLower());
        return false;
    }
    return true;
}

struct Place {
    int group, channel;
};

// The places a path names, in group then channel order; "*" passes over a
// group that lacks the field.
std::vector<Place> placesOf(const FieldPath& p) {
    std::vector<Place> out;
    if (p.def->scope == FieldScope::Unit) return {{-1, -1}};
    const bool channelField = p.def->scope == FieldScope::Channel;
    for (int g = 0; g < kGroupCount; ++g) {
        if ((p.group != kAll && g != p.group) || !FieldExists(*p.def, g)) continue;
        if (!channelField) {
            out.push_back({g, -1});
            continue;
        }
        for (int c = 0; c < kChannelsPerGroup; ++c)
            if (p.channel == kAll || c == p.channel) out.push_back({g, c});
    }
    return out;
}

// ---- The entry rules, one per kind of field: each gives the text to store,
// or says why the value cannot be taken.

bool listEntry(const FieldDef& f, const QString& value, QString& why) {
    for (const QString& e : f.entries)
        if (e.trimmed().compare(value.trimmed(), Qt::CaseInsensitive) == 0) return true;
    QStringList shown;
    for (const QString& e : f.entries) shown << e.trimmed();
    why = QStringLiteral("not an entry of its list (%1)").arg(shown.join(QStringLiteral(", ")));
    return false;
}

bool checkEntry(const QString& value, QString& stored, QString& why) {
    const QString v = value.trimmed().toLower();
    if (v == QLatin1String("1") || v == QLatin1String("true")) {
        stored = QStringLiteral("1");
        return true;
    }
    if (v == QLatin1String("0") || v == QLatin1String("false")) {
        stored = QStringLiteral("0");
        return true;
    }
    why = QStringLiteral("not 0, 1, true or false");
    return false;
}

bool hexEntry(const FieldDef& f, const QString& value, QString& stored, QString& why) {
    const int digits = HexDigitCount(f);
    const EntryVerdict v = CheckHexEntry(value, digits);
    if (value.isEmpty() || !v.ok) {
        why = QStringLiteral("not 1 to %1 hexadecimal digits").arg(digits);
        return false;
    }
    stored = v.normalized;
    return true;
}

// The editor's entry rules: what the grid and the group fields refuse, set
// refuses with the same reason; what they take is stored as the radio shows it.
bool verdictEntry(const EntryVerdict& v, QString& stored, QString& why) {
    if (!v.ok) {
        why = v.reason;
        return false;
    }
    stored = v.normalized;
    return true;
}

// The text a changed value is stored as, by the rule of its kind.
bool entryRule(const FieldDef& f, const QString& value, QString& stored, QString& why) {
    stored = value;
    switch (f.type) {
        case FieldType::List:
            return listEntry(f, value, why);
        case FieldType::Check:
            return checkEntry(value, stored, why);
        case FieldType::HexDigits:
            return hexEntry(f, value, stored, why);
        case FieldType::Frequency:
            return verdictEntry(CheckFrequencyEntry(value), stored, why);
        case FieldType::ChannelGuard:
            return verdictEntry(CheckGuardEntry(value), stored, why);
        case FieldType::Label:
            return verdictEntry(CheckLabelEntry(value), stored, why);
    }
    return false;
}

bool failed(FieldPathError* error, const QString& path, const QString& reason) {
    if (error) *error = {path, reason};
    return false;
}

// One assignment into `work`; false with the reason when it cannot be taken.
bool assign(AppState& work, const FieldAssignment& edit, QString& why) {
    FieldPath p;
    if (!parsePath(edit.path, p, why)) return false;
    const FieldDef& f = *p.def;
    for (const Place& at : placesOf(p)) {
        const QString now = ReadFieldValue(work, f, at.group, at.channel);
        if (edit.value == now) continue;
        const QString readOnly = QStringLiteral("read-only: the radio's factory setting");
        QString stored, rule;
        if (!entryRule(f, edit.value, stored, rule)) {
            why = f.editable ? QStringLiteral("\"%1\": %2").arg(edit.value, rule) : readOnly;
            return false;
        }
        AppState trial = work;
        if (!WriteFieldValue(trial, f, at.group, at.channel, stored)) {
            why = QStringLiteral("\"%1\": the radio cannot hold this value").arg(edit.value);
            return false;
        }
        // The same value in other words changes nothing.
        if (ReadFieldValue(trial, f, at.group, at.channel) == now) continue;
        if (!f.editable) {
            why = readOnly;
            return false;
        }
        work = trial;
    }
    return true;
}

// ---- The dump's JSON shape.

bool jsonText(const QJsonValue& v, QString& text) {
    if (v.isString()) {
        text = v.toString();
        return true;
    }
    if (v.isBool()) {
        text = v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
        return true;
    }
    return false;
}

class JsonEdits {
public:
    explicit JsonEdits(QList<FieldAssignment>& out) : out_(out) {}
    QString errorPath, reason;

    bool unit(const QJsonValue& v) {
        if (!v.isObject()) return fail(QStringLiteral("unit"), QStringLiteral("not an object"));
        return members(v.toObject(), QStringLiteral("unit"), {}, QStringLiteral("unit"));
    }

    bool groups(const QJsonValue& v) {
        if (!v.isArray()) return fail(QStringLiteral("groups"), QStringLiteral("not an array"));
        const QJsonArray groups = v.toArray();
        for (qsizetype i = 0; i < groups.size(); ++i)
            if (!group(groups[i], QStringLiteral("groups[%1]").arg(i))) return false;
        return true;
    }

private:
    bool fail(const QString& where, const QString& why) {
        errorPath = where;
        reason = why;
        return false;
    }

    // The number of a group ("number") or channel ("channel"), 1..last.
    bool number(const QJsonObject& o, const QString& key, int last, const QString& where, int& n) {
        const QJsonValue v = o.value(key);
        const double d = v.toDouble(-1);
        n = d >= 1 && d <= last ? int(d) : 0;
        if (v.isDouble() && n >= 1 && d == n) return true;
        return fail(where,
                    QStringLiteral("needs \"%1\", a number from 1 to %2").arg(key).arg(last));
    }

    bool group(const QJsonValue& v, const QString& where) {
        if (!v.isObject()) return fail(where, QStringLiteral("not an object"));
        const QJsonObject o = v.toObject();
        int n = 0;
        if (!number(o, QStringLiteral("number"), kGroupCount, where, n)) return false;
        const QString prefix = QStringLiteral("group.%1").arg(n);
        if (!members(o, prefix, {QStringLiteral("number"), QStringLiteral("channels")}, where))
            return false;
        if (!o.contains(QStringLiteral("channels"))) return true;
        const QJsonValue channels = o.value(QStringLiteral("channels"));
        if (!channels.isArray())
            return fail(where + QStringLiteral(".channels"), QStringLiteral("not an array"));
        const QJsonArray list = channels.toArray();
        for (qsizetype i = 0; i < list.size(); ++i) {
            const QString at = where + QStringLiteral(".channels[%1]").arg(i);
            if (!list[i].isObject()) return fail(at, QStringLiteral("not an object"));
            int c = 0;
            if (!number(list[i].toObject(), QStringLiteral("channel"), kChannelsPerGroup, at, c))
                return false;
            if (!members(list[i].toObject(), prefix + QStringLiteral(".channel.%1").arg(c),
                         {QStringLiteral("channel")}, at))
                return false;
        }
        return true;
    }

    // Each member but the `skipped` ones as an assignment to prefix.KEY.
    bool members(const QJsonObject& o, const QString& prefix, const QStringList& skipped,
                 const QString& where) {
        for (auto it = o.begin(); it != o.end(); ++it) {
            if (skipped.contains(it.key())) continue;
            const QString path = prefix + u'.' + it.key();
            QString text;
            if (it.value().isNull() && absentHere(path)) continue;
            if (!jsonText(it.value(), text))
                return fail(path, QStringLiteral("not a text, true or false (in %1)").arg(where));
            out_.push_back({path, text});
        }
        return true;
    }

    // The dump's null for a field a place does not have.
    static bool absentHere(const QString& path) {
        const QStringList parts = path.split(u'.');
        const FieldDef* f = parts.size() == 5 ? FindField(FieldScope::Channel, parts[4]) : nullptr;
        return f && !FieldExists(*f, GroupNumber::fromUser(parts[1].toInt()));
    }

    QList<FieldAssignment>& out_;
};

}  // namespace

bool SetFields(AppState& image, const QList<FieldAssignment>& edits, FieldPathError* error) {
    return SetFields(image, edits, error, nullptr);
}

bool SetFields(AppState& image, const QList<FieldAssignment>& edits, FieldPathError* error,
               int* changed) {
    AppState work = image;
    for (const FieldAssignment& edit : edits) {
        QString why;
        if (!assign(work, edit, why)) return failed(error, edit.path, why);
    }
    if (changed) {
        const std::vector<RadioField> before = ListRadioFields(image),
                                      after = ListRadioFields(work);
        *changed = 0;
        for (std::size_t i = 0; i < before.size(); ++i)
            *changed += before[i].value != after[i].value;
    }
    image = work;
    return true;
}

bool GetField(const AppState& image, const QString& path, QStringList* values,
              FieldPathError* error) {
    FieldPath p;
    QString why;
    if (!parsePath(path, p, why)) return failed(error, path, why);
    QStringList out;
    for (const Place& at : placesOf(p)) out << ReadFieldValue(image, *p.def, at.group, at.channel);
    if (values) *values = out;
    return true;
}

bool ParseFieldAssignment(const QString& text, FieldAssignment* edit, FieldPathError* error) {
    const qsizetype eq = text.indexOf(u'=');
    if (eq < 0) return failed(error, text, QStringLiteral("not PATH=VALUE"));
    if (edit) *edit = {text.left(eq), text.mid(eq + 1)};
    return true;
}

bool FieldEditsFromJson(const QByteArray& json, QList<FieldAssignment>* edits,
                        FieldPathError* error) {
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parse);
    if (parse.error != QJsonParseError::NoError)
        return failed(
            error, QString(),
            QStringLiteral("not JSON: %1 at byte %2").arg(parse.errorString()).arg(parse.offset));
    if (!doc.isObject())
        return failed(error, QString(), QStringLiteral("not a JSON object as the dump prints"));
    QList<FieldAssignment> out;
    JsonEdits reader(out);
    const QJsonObject top = doc.object();
    for (auto it = top.begin(); it != top.end(); ++it) {
        bool ok = false;
        if (it.key() == QLatin1String("unit"))
            ok = reader.unit(it.value());
        else if (it.key() == QLatin1String("groups"))
            ok = reader.groups(it.value());
        else
            return failed(error, it.key(), QStringLiteral("not a part of the dump (unit, groups)"));
        if (!ok) return failed(error, reader.errorPath, reader.reason);
    }
    if (edits) *edits = out;
    return true;
}

}  // namespace tav
