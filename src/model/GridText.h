#pragma once
// Text rules of the channel grid that need no widget: numbers as the grid
// shows them and the clipboard form of copied rows. The frequency rule is the
// core's (model/FrequencyCheck.h).

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace tav::grid {

constexpr int kColumns = 6;
constexpr int kRows = 14;
enum Column { Chan = 0, RecFreq = 1, RecCG = 2, TxFreq = 3, TxCG = 4, ChLabel = 5 };

// The captions above the six grid columns.
QStringList columnCaptions();

// Numeric value of a text the way a user types numbers: "." as the decimal
// point, blanks around it allowed. Empty when the text is not a number.
std::optional<double> numericValue(const QString& text);
// Numeric value with non-numbers (and an empty text) counting as 0.
double valueOf(const QString& text);

// A number in the look of a grid column: "000.00000" for the frequency
// columns, "000.0" for the channel-guard columns, shortest text otherwise.
QString formatNumber(int column, double value);

// One grid row with its three check boxes, as it travels on the clipboard:
// nine fields, each followed by a Tab, the last by a carriage return.
struct RowFields {
    std::array<QString, kColumns> cells;
    int scan = 0, narrow = 0, loPower = 0;
};
QString rowText(const RowFields& row);
// Splits one line (without its carriage return) into nine fields the way a
// paste takes them apart; a missing field is empty.
RowFields splitRow(const QString& line);
// Whether a text has the shape of `rows` copied rows: that many lines, each
// ending in a carriage return, of nine fields with check values 0 or 1.
bool hasRowShape(const QString& text, int rows);
// The text a pasted field puts into a grid cell: a field that starts with a
// letter from "D" on (a digital code, a word) stays text; anything else is
// taken as a number in the column's look.
QString pastedCellText(int column, const QString& field);

}  // namespace tav::grid
