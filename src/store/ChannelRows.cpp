#include "store/ChannelRows.h"

#include "model/MemoryGrid.h"
#include "model/clsChannel.h"

namespace tav {

namespace {
constexpr int kFirstCell = 1;  // the channel number's column is left out
}

ChannelRow ChannelRows::row(int r) const {
    ChannelRow content;
    for (std::size_t i = 0; i < content.cells.size(); ++i)
        content.cells[i] = grid_.cellText(kFirstCell + int(i), r);
    const auto at = std::size_t(r);
    content.scan = controls_.chkScan[at];
    content.narrow = controls_.chkNarr[at];
    content.loPower = controls_.chkLoPower[at];
    return content;
}

void ChannelRows::setRow(int r, const ChannelRow& content) {
    for (std::size_t i = 0; i < content.cells.size(); ++i)
        grid_.setCellText(kFirstCell + int(i), r, content.cells[i]);
    const auto at = std::size_t(r);
    controls_.chkScan[at] = content.scan;
    controls_.chkNarr[at] = content.narrow;
    controls_.chkLoPower[at] = content.loPower;
}

const ChannelRow& ChannelRows::empty() {
    // Decoded by the channel codec itself from an image of zeros, so that an
    // emptied row is stored and read back exactly as it is shown.
    static const ChannelRow blank = [] {
        AppState zeros;
        GroupControls controls;
        MemoryGrid grid;
        zeros.NewGroupIndex = 0;
        zeros.NewChannelIndex = 0;
        clsChannel(zeros, controls, grid).Read_Channel();
        return ChannelRows(grid, controls).row(0);
    }();
    return blank;
}

void ChannelRows::clear(int r) {
    setRow(r, empty());
}

void ChannelRows::insertAt(int r) {
    for (int k = kRows - 1; k > r; --k) setRow(k, row(k - 1));
    clear(r);
}

void ChannelRows::removeAt(int r) {
    for (int k = r; k < kRows - 1; ++k) setRow(k, row(k + 1));
    clear(kRows - 1);
}

void ChannelRows::fillDown(int source, const QList<int>& targets) {
    const ChannelRow content = row(source);
    for (int t : targets)
        if (t > source && t < kRows) setRow(t, content);
}

}  // namespace tav
