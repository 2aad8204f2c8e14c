#pragma once
// The channel grid as the codecs see it: cell text by (column, row), the
// columns numbered as in model/ChannelColumns.h; row k is channel k of the
// shown group.

#include <QString>

namespace tav {

class ChannelGrid {
public:
    virtual ~ChannelGrid() = default;
    virtual QString cellText(int column, int row) const = 0;
    virtual void setCellText(int column, int row, const QString& text) = 0;
    // Makes a cell the grid's current cell (no value is written).
    virtual void setCurrentCell(int column, int row) {
        (void)column;
        (void)row;
    }
};

}  // namespace tav
