#pragma once
// The channels of the shown group as whole rows: a row's five editable grid
// cells and its three check values (scan list, narrow band, low power) travel
// together, so that moving a channel keeps its label and bits with its
// frequencies. Column 0, the channel number, belongs to the row's place and
// never moves.

#include <QList>
#include <QString>
#include <array>

#include "model/ChannelGrid.h"
#include "model/Controls.h"

namespace tav {

struct ChannelRow {
    std::array<QString, 5> cells;  // grid columns 1 ("Rec Freq") to 5 ("Ch Label")
    int scan = 0, narrow = 0, loPower = 0;
    bool operator==(const ChannelRow&) const = default;
};

class ChannelRows {
public:
    static constexpr int kRows = kChannelsPerGroup;

    ChannelRows(ChannelGrid& grid, GroupControls& controls) : grid_(grid), controls_(controls) {}

    ChannelRow row(int r) const;
    void setRow(int r, const ChannelRow& content);

    // What a channel reads as when its record, label and bits are all empty,
    // as in a radio file that never held it.
    static const ChannelRow& empty();
    bool holdsData(int r) const { return row(r) != empty(); }

    void clear(int r);
    // Rows r to 12 move down one; what row 13 held is dropped.
    void insertAt(int r);
    // Rows r + 1 to 13 move up one; row 13 becomes empty.
    void removeAt(int r);
    // Row `source` copied into each of `targets` below it; the others are left.
    void fillDown(int source, const QList<int>& targets);

private:
    ChannelGrid& grid_;
    GroupControls& controls_;
};

}  // namespace tav
