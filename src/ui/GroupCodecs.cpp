#include "ui/GroupCodecs.h"

#include <QString>
#include <array>

#include "ui/GridText.h"

namespace tav {

namespace {

// Keeps each group's controls and cells as the window last showed them.
class SnapshotGroups : public GroupCodecs {
public:
    SnapshotGroups(GroupControls& controls, ChannelGrid& grid) : controls_(controls), grid_(grid) {}

    void WriteDefaults(int16_t g) override {
        Snapshot& s = groups_.at(std::size_t(g));
        s.controls = GroupControls{};
        s.controls.chkAlphaEnabled = 1;
        s.controls.txtID = QStringLiteral("0000000");
        s.controls.txtGroupLabel = QStringLiteral("GROUP %1").arg(g + 1);
        for (int c = 0; c < kChannelsPerGroup; ++c) {
            s.cells[c][grid::RecFreq] = grid::formatNumber(grid::RecFreq, 162.4 + 0.005 * c);
            s.cells[c][grid::RecCG] = QStringLiteral("000.0");
            s.cells[c][grid::TxFreq] = QStringLiteral("none");
            s.cells[c][grid::TxCG] = QStringLiteral("000.0");
            s.cells[c][grid::ChLabel] = QStringLiteral("Ch %1").arg(c + 1, 2);
        }
    }
    void Read_Group(int16_t g) override {
        const Snapshot& s = groups_.at(std::size_t(g));
        controls_ = s.controls;
        for (int c = 0; c < kChannelsPerGroup; ++c)
            for (int col = 1; col < grid::kColumns; ++col) grid_.setCellText(col, c, s.cells[c][col]);
    }
    void Write_Group(int16_t g) override {
        Snapshot& s = groups_.at(std::size_t(g));
        s.controls = controls_;
        for (int c = 0; c < kChannelsPerGroup; ++c)
            for (int col = 1; col < grid::kColumns; ++col) s.cells[c][col] = grid_.cellText(col, c);
    }

private:
    struct Snapshot {
        GroupControls controls;
        std::array<std::array<QString, grid::kColumns>, kChannelsPerGroup> cells;
    };
    GroupControls& controls_;
    ChannelGrid& grid_;
    std::array<Snapshot, kGroupCount> groups_;
};

}  // namespace

std::unique_ptr<GroupCodecs> makeGroupCodecs(AppState&, GroupControls& controls,
                                             ChannelGrid& grid) {
    return std::make_unique<SnapshotGroups>(controls, grid);
}

}  // namespace tav
