#pragma once
// Whole eight-cell labels of the label table, as text. Channel labels are
// slots 0 to 13 of a group, the group label is slot 14.

#include <QString>

#include "model/AppState.h"

namespace tav {

constexpr int kLabelCells = 8;
constexpr int kGroupLabelSlot = 14;
constexpr int kBacklightSlot = 15;
constexpr int kBacklightCell = 7;

// What the editor shows for a label whose cells all decode to nothing.
inline const QString kBlankLabel = QStringLiteral(" BLANK  ");

// The eight cells decoded and joined; empty when every cell is empty.
QString LabelCellsText(const AppState& s, int group, int slot);
// As above, but " BLANK  " in place of an empty text.
QString ShownLabelText(const AppState& s, int group, int slot);
// Encodes text into the eight cells: blanks after its end, the rest dropped.
void StoreLabelText(AppState& s, int group, int slot, QString text);

// Why the display could not show `text` as typed: a character it does not
// have (lower-case letters count as capitals, as the display shows them) or
// more than eight cells (a "." after a character shares its cell). Empty when
// the text is fine.
QString LabelTextProblem(const QString& text);

}  // namespace tav
