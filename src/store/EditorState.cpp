#include "store/EditorState.h"

#include "model/clsGroup.h"

namespace tav {

EditorState CaptureEditorState(const AppState& s, GroupControls& controls, ChannelGrid& grid,
                               int16_t group) {
    AppState stored = s;
    if (group >= 0 && group < kGroupCount) {
        stored.NewGroupIndex = group;
        clsGroup(stored, controls, grid).Write_Group();
    }
    EditorState state;
    state.EEImage = stored.EEImage;
    state.LabelImage = stored.LabelImage;
    state.PowerMask = stored.PowerMask;
    state.group = group;
    return state;
}

void RestoreEditorImages(const EditorState& state, AppState& s) {
    s.EEImage = state.EEImage;
    s.LabelImage = state.LabelImage;
    s.PowerMask = state.PowerMask;
}

}  // namespace tav
