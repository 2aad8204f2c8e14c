#include "fleet/FleetPlan.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QRegularExpression>

#include "files/CsvText.h"
#include "model/FieldPaths.h"

namespace tav::fleet {

namespace {

const QString kAnyGroupId = QStringLiteral("group.*.ani_id");

bool fail(QString* why, const QString& text) {
    if (why) *why = text;
    return false;
}

QString idText(quint32 id) {
    return QStringLiteral("%1").arg(id, kIdDigits, 16, QLatin1Char('0')).toUpper();
}

bool isIdNumber(const QString& v) {
    static const QRegularExpression re(QStringLiteral("^[0-9A-Fa-f]{1,7}$"));
    return re.match(v).hasMatch();
}

// The group indexes an ID path names: all for "group.*.ani_id", one for
// "group.N.ani_id" (N from 1); empty when the path is no ID path.
QList<int> idGroups(const QString& path) {
    if (path == kAnyGroupId) {
        QList<int> all;
        for (int g = 0; g < kGroupCount; ++g) all << g;
        return all;
    }
    static const QRegularExpression re(QStringLiteral("^group\\.([0-9]+)\\.ani_id$"));
    const QRegularExpressionMatch m = re.match(path);
    const int n = m.hasMatch() ? m.captured(1).toInt() : 0;
    if (n < 1 || n > kGroupCount) return {};
    return {n - 1};
}

}  // namespace

bool PlanFromAniRange(const QString& from, int step, int count, FleetPlan& plan, QString* why) {
    if (!isIdNumber(from))
        return fail(why, QStringLiteral("--ani-from needs an ANI/ID number of 1 to 7 hexadecimal "
                                        "digits, not '%1'")
                             .arg(from));
    if (step == 0 && count > 1)
        return fail(why, QStringLiteral("--ani-step 0 would give every radio the same ANI/ID"));
    const quint64 first = from.toULongLong(nullptr, 16);
    const quint64 last = first + quint64(step) * quint64(std::max(count - 1, 0));
    if (last > kLargestId)
        return fail(why, QStringLiteral("row %1: the ANI/ID %2 has more than 7 digits")
                             .arg(count)
                             .arg(last, 0, 16));
    plan.rows.clear();
    for (int i = 0; i < count; ++i)
        plan.rows.append(
            PlanRow{i + 1, {FieldValue{kAnyGroupId, idText(quint32(first + quint64(step) * i))}}});
    return true;
}

bool PlanFromCsv(const QString& text, FleetPlan& plan, QString* why) {
    const CsvTable table = ParseCsv(text);
    if (!table.errors.empty())
        return fail(why, QStringLiteral("line %1: %2")
                             .arg(table.errors.front().line)
                             .arg(table.errors.front().what));
    if (table.records.empty()) return fail(why, QStringLiteral("the plan has no header"));
    QStringList header;
    for (const QString& f : table.records.front().fields) header << f.trimmed();
    for (int i = 0; i < header.size(); ++i) {
        const QString& path = header[i];
        if (path.isEmpty())
            return fail(why, QStringLiteral("line %1: column %2 names no field")
                                 .arg(table.records.front().line)
                                 .arg(i + 1));
        if (header.indexOf(header[i]) != i)
            return fail(why, QStringLiteral("line %1: the field %2 is named twice")
                                 .arg(table.records.front().line)
                                 .arg(path));
    }
    FleetPlan out;
    for (std::size_t r = 1; r < table.records.size(); ++r) {
        const CsvRecord& rec = table.records[r];
        const int number = int(r);
        if (rec.fields.size() != header.size())
            return fail(why, QStringLiteral("row %1 (line %2): %3 values for %4 fields")
                                 .arg(number)
                                 .arg(rec.line)
                                 .arg(rec.fields.size())
                                 .arg(header.size()));
        PlanRow row{number, {}};
        for (int i = 0; i < header.size(); ++i)
            if (!rec.fields[i].isEmpty()) row.values.append(FieldValue{header[i], rec.fields[i]});
        out.rows.append(row);
    }
    if (out.rows.isEmpty()) return fail(why, QStringLiteral("the plan has no rows"));
    plan = out;
    return true;
}

bool ApplyRow(AppState& image, const PlanRow& row, QString* why) {
    QList<FieldAssignment> edits;
    for (const FieldValue& v : row.values) edits.append(FieldAssignment{v.path, v.value});
    FieldPathError error;
    if (SetFields(image, edits, &error)) return true;
    return fail(why, error.path.isEmpty() ? error.reason
                                          : QStringLiteral("%1: %2").arg(error.path, error.reason));
}

bool CheckPlan(const AppState& templ, const FleetPlan& plan, QString* why) {
    QMap<QString, int> givenBy;  // "group index:ID" -> row number
    for (const PlanRow& row : plan.rows) {
        AppState image = templ;
        QString reason;
        if (!ApplyRow(image, row, &reason))
            return fail(why, QStringLiteral("row %1: %2").arg(row.number).arg(reason));
        for (const FieldValue& v : row.values) {
            for (int g : idGroups(v.path)) {
                const QString key =
                    QStringLiteral("%1:%2").arg(g).arg(v.value.toUpper().rightJustified(7, u'0'));
                if (givenBy.contains(key))
                    return fail(why, QStringLiteral("row %1: group %2 ANI/ID %3 is also row %4's")
                                         .arg(row.number)
                                         .arg(GroupNumber::toUser(g))
                                         .arg(key.section(u':', 1))
                                         .arg(givenBy[key]));
                givenBy.insert(key, row.number);
            }
        }
    }
    return true;
}

QString IdSummary(const AppState& image) {
    QStringList all, each, ids;
    if (!GetField(image, kAnyGroupId, &all, nullptr)) return {};
    for (int g = 0; g < all.size(); ++g) {
        // Only the groups the radio has for channel data: the others are never written.
        const int page = GroupNumber::page(g);
        if ((image.EEImage[std::size_t(pageFlagByte(page))] & pageFlagBit(page)) == 0) continue;
        ids << all[g];
        each << QStringLiteral("%1=%2").arg(GroupNumber::toUser(g)).arg(all[g]);
    }
    if (!ids.isEmpty() && ids.count(ids.first()) == ids.size()) return ids.first();
    return each.join(u' ');
}

QString GivenId(const AppState& image, const PlanRow& row) {
    const QString summary = IdSummary(image);
    if (!summary.isEmpty()) return summary;
    QStringList named;
    for (const FieldValue& v : row.values)
        if (!idGroups(v.path).isEmpty()) named << v.value.toUpper().rightJustified(kIdDigits, u'0');
    return named.join(u' ');
}

QString RowText(const PlanRow& row) {
    QJsonArray a;
    for (const FieldValue& v : row.values) a.append(QJsonArray{v.path, v.value});
    return QString::fromUtf8(QJsonDocument(a).toJson(QJsonDocument::Compact));
}

std::optional<QList<FieldValue>> RowValues(const QString& text) {
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8());
    if (!doc.isArray()) return std::nullopt;
    QList<FieldValue> out;
    for (const QJsonValue& item : doc.array()) {
        const QJsonArray pair = item.toArray();
        if (pair.size() != 2 || !pair[0].isString() || !pair[1].isString()) return std::nullopt;
        out.append(FieldValue{pair[0].toString(), pair[1].toString()});
    }
    return out;
}

}  // namespace tav::fleet
