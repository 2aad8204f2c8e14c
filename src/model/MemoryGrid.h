#pragma once
// A channel grid held in memory: 6 columns by 14 rows of text. Lets the
// codecs decode and encode a group where no window exists (tests, tavctl).

#include <array>

#include "model/AppState.h"
#include "model/ChannelGrid.h"

namespace tav {

class MemoryGrid : public ChannelGrid {
public:
    static constexpr int kColumns = 6;
    static constexpr int kRows = kChannelsPerGroup;

    // Cells outside the grid read as empty text; writes to them are ignored.
    QString cellText(int column, int row) const override;
    void setCellText(int column, int row, const QString& text) override;
    void setCurrentCell(int column, int row) override;

    // The last cell made current; (-1, -1) until one is.
    int currentColumn() const { return currentColumn_; }
    int currentRow() const { return currentRow_; }
    void clear();

private:
    static bool inside(int column, int row);
    std::array<std::array<QString, kColumns>, kRows> cells_;
    int currentColumn_ = -1;
    int currentRow_ = -1;
};

}  // namespace tav
