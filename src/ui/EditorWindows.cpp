#include "ui/EditorWindows.h"

#include "ui/frmGlobals.h"
#include "ui/frmGroups.h"
#include "ui/frmMove.h"

namespace tav {

EditorWindows::EditorWindows(AppState& state, Settings& settings, Prompter& prompter, Clock& clock)
    : state_(state), settings_(settings), prompter_(prompter), clock_(clock) {}

void EditorWindows::attach(frmGroups& main) {
    main_ = &main;
    EditorHooks& h = main.hooks;
    h.showGlobals = [this] { globalsWindow().showGlobals(); };
    // The store and redisplay hooks run only while the window is open.
    h.storeGlobals = [this] {
        if (globals_) globals_->writeGlobals();
    };
    h.redisplayGlobals = [this] {
        if (globals_) globals_->readGlobals();
    };
    h.closeGlobals = [this] { return !globals_ || globals_->closeWithQuestion(); };
    h.showMove = [this] { moveDialog().showCentred(); };
    h.showFleet = [this] { fleetWindow().showFleet(); };
    h.closeFleet = [this] { return !fleet_ || fleet_->closeWithQuestion(); };
}

frmGlobals& EditorWindows::globalsWindow() {
    if (!globals_) {
        globals_ = new frmGlobals(state_, settings_, prompter_, clock_, main_);
        // Stored global values are an edit of the image like any other: one
        // undo step, and the caption's modified mark.
        QObject::connect(globals_, &frmGlobals::stored, main_,
                         [this] { main_->history().record(QStringLiteral("Edit")); });
    }
    return *globals_;
}

frmFleet& EditorWindows::fleetWindow() {
    if (!fleet_) fleet_ = new frmFleet(*main_, settings_, prompter_, main_);
    return *fleet_;
}

frmMove& EditorWindows::moveDialog() {
    if (!move_)
        move_ = new frmMove(
            state_, prompter_, [this] { main_->StoreCurrentGroup(); },
            [this] { main_->displayGroupMemory(); }, main_);
    return *move_;
}

}  // namespace tav
