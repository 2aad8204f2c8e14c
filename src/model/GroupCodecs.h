#pragma once
// What the main window needs of the group codecs: fill a group with the
// default channels, show a group from the image and store it back. The window
// copies its widgets to and from `GroupControls`; the codecs work on that
// value and on the channel grid.

#include <cstdint>
#include <functional>
#include <memory>

#include "model/AppState.h"
#include "model/ChannelGrid.h"
#include "model/Controls.h"

namespace tav {

class GroupCodecs {
public:
    virtual ~GroupCodecs() = default;
    virtual void WriteDefaults(int16_t group) = 0;
    virtual void Read_Group(int16_t group) = 0;
    virtual void Write_Group(int16_t group) = 0;
    // The group's labels only: group label, backlight and the grid's label column.
    virtual void Read_Labels_Only(int16_t group) = 0;
};

using GroupCodecsFactory =
    std::function<std::unique_ptr<GroupCodecs>(AppState&, GroupControls&, ChannelGrid&)>;

// The codecs the editor uses unless it is given others.
std::unique_ptr<GroupCodecs> makeGroupCodecs(AppState& state, GroupControls& controls,
                                             ChannelGrid& grid);

}  // namespace tav
