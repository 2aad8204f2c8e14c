#pragma once
// The windows the main window opens on demand — the global parameters window
// and the Move Banks dialog — made on first use, owned by the main window, and
// reached through its hooks.

#include <QPointer>

#include "app/Ports.h"
#include "app/Settings.h"
#include "model/AppState.h"
#include "ui/frmGlobals.h"
#include "ui/frmMove.h"

namespace tav {

class frmGroups;

class EditorWindows {
public:
    EditorWindows(AppState& state, Settings& settings, Prompter& prompter, Clock& clock);
    // Fills the main window's hooks for Global Parameters, Move and the
    // global window's store/redisplay/close.
    void attach(frmGroups& main);

    frmGlobals* globals() const { return globals_; }
    frmMove* move() const { return move_; }

private:
    frmGlobals& globalsWindow();
    frmMove& moveDialog();

    AppState& state_;
    Settings& settings_;
    Prompter& prompter_;
    Clock& clock_;
    frmGroups* main_ = nullptr;
    QPointer<frmGlobals> globals_;
    QPointer<frmMove> move_;
};

}  // namespace tav
