#pragma once
// What one undo step keeps of the editor: the three images as they are once
// the shown group's controls and grid are stored into them, and the group
// shown. A few kilobytes, so a step simply holds the whole state before and
// after it.
//
// Taking the images "as stored" makes a state independent of how far the
// window has written its edits back: storing the shown group (before a save,
// a radio write or a group switch) changes no state, and a change the image
// cannot tell from none (a value typed again as it was) is no step.

#include <array>
#include <cstdint>

#include "model/AppState.h"
#include "model/ChannelGrid.h"
#include "model/Controls.h"

namespace tav {

struct EditorState {
    std::array<uint8_t, kEEImageSize> EEImage{};
    std::array<uint8_t, kLabelImageSize> LabelImage{};
    std::array<uint8_t, kPowerMaskSize> PowerMask{};
    int16_t group = 0;  // index of the group shown, 0 to 14

    bool sameImages(const EditorState& other) const {
        return EEImage == other.EEImage && LabelImage == other.LabelImage &&
               PowerMask == other.PowerMask;
    }
};

// The state of `s` with group `group` stored from `controls` and `grid`; `s`
// itself is left as it is.
EditorState CaptureEditorState(const AppState& s, GroupControls& controls, ChannelGrid& grid,
                               int16_t group);
// Puts the images of `state` back into `s`; showing them is the window's part.
void RestoreEditorImages(const EditorState& state, AppState& s);

}  // namespace tav
