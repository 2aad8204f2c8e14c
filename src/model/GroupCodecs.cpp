#include "model/GroupCodecs.h"

#include <array>

#include "model/clsGroup.h"
#include "model/clsWriteDefaults.h"

namespace tav {

namespace {

// The fifteen group codecs of the radio image, one per group index.
class ImageGroups : public GroupCodecs {
public:
    ImageGroups(AppState& state, GroupControls& controls, ChannelGrid& grid)
        : state_(state), grid_(grid) {
        for (int16_t g = 0; g < kGroupCount; ++g) {
            state.NewGroupIndex = g;
            groups_[std::size_t(g)] = std::make_unique<clsGroup>(state, controls, grid);
        }
    }

    void WriteDefaults(int16_t group) override {
        state_.NewGroupIndex = group;
        clsWriteDefaults(state_, &grid_).WriteGroup();
    }
    void Read_Group(int16_t group) override { groups_.at(std::size_t(group))->Read_Group(); }
    void Write_Group(int16_t group) override { groups_.at(std::size_t(group))->Write_Group(); }
    void Read_Labels_Only(int16_t group) override {
        groups_.at(std::size_t(group))->Read_Labels_Only();
    }

private:
    AppState& state_;
    ChannelGrid& grid_;
    std::array<std::unique_ptr<clsGroup>, kGroupCount> groups_;
};

}  // namespace

std::unique_ptr<GroupCodecs> makeGroupCodecs(AppState& state, GroupControls& controls,
                                             ChannelGrid& grid) {
    return std::make_unique<ImageGroups>(state, controls, grid);
}

}  // namespace tav
