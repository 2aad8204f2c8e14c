#pragma once
// One numbering of a channel's columns for the grid, the channel table, the
// clipboard and the CSV file: the channel number, the record's four values and
// the label in the grid's visible order, then the three check boxes beside
// them. The numbers reach the grid's layout and the table's SQL columns, so
// they never change.

#include "model/FieldTable.h"

namespace tav::grid {

enum Column {
    Chan = 0,
    RecFreq = 1,
    RecCG = 2,
    TxFreq = 3,
    TxCG = 4,
    ChLabel = 5,
    Scan = 6,
    Narrow = 7,
    LowPower = 8,
};
constexpr int kColumns = ChLabel + 1;          // the grid's columns
constexpr int kChannelColumns = LowPower + 1;  // with the three check boxes
constexpr int kRows = 14;

// The channel field a column shows; null for the channel number.
const FieldDef* columnField(int column);

}  // namespace tav::grid
