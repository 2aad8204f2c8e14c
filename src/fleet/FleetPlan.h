#pragma once
// The plan of a fleet run: one row per radio, in the order the radios get
// them, each a list of field values by path ("group.*.ani_id" = "0001234").
// Every row is checked against the template before any radio is touched.

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "model/AppState.h"

namespace tav::fleet {

struct FieldValue {
    QString path;
    QString value;
    bool operator==(const FieldValue&) const = default;
};

struct PlanRow {
    int number = 0;  // from 1, as the plan counts its radios
    QList<FieldValue> values;
    bool operator==(const PlanRow&) const = default;
};

struct FleetPlan {
    QList<PlanRow> rows;
};

// The ID paths: every group's ANI/ID number, or one group's.
constexpr int kIdDigits = 7;
constexpr quint32 kLargestId = 0xFFFFFFF;

// Rows 1..count giving every group the ANI/ID number from + (row - 1) * step,
// as seven hexadecimal digits. False with the reason when `from` is not a
// number of up to seven hexadecimal digits, the step is 0 with more than one
// row (every radio would get the same number), or the last number needs an
// eighth digit.
bool PlanFromAniRange(const QString& from, int step, int count, FleetPlan& plan, QString* why);

// A plan file: CSV whose header names field paths and whose records are the
// radios in the order they get them (an empty cell leaves the template's
// value). False with the reason naming the line or row when it is not a
// plan at all: no header, a blank or repeated path, a record of another
// length than the header, text that is not well-formed CSV. The values are
// checked by CheckPlan.
bool PlanFromCsv(const QString& text, FleetPlan& plan, QString* why);

// The template with a row's values applied, all or none, as `tavctl set`
// applies them: false, the image unchanged, with the reason naming the path
// when a path is unknown, a value is not one the field can hold, or the
// field is read-only.
bool ApplyRow(AppState& image, const PlanRow& row, QString* why);

// Every row applied to a copy of the template, and the ID numbers given
// compared across rows: false with the first fault, naming its row ("row 3:
// ..."), when a row cannot be applied or gives an ID number another row gives.
bool CheckPlan(const AppState& templ, const FleetPlan& plan, QString* why);

// The ANI/ID numbers of the groups an image has configured for channel data:
// one number when they all have the same, else "G=ID" for each, space-separated.
QString IdSummary(const AppState& image);

// A row's values as stored in the log, and back.
QString RowText(const PlanRow& row);
std::optional<QList<FieldValue>> RowValues(const QString& text);

}  // namespace tav::fleet
