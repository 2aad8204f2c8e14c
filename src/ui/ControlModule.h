#pragma once
// Start-up of the windowed editor.

#include <memory>

#include "ui/EditorServices.h"

namespace tav {

class frmGroups;

// Shows the splash window, builds and loads the main window, closes the
// splash, shows the main window and puts it where and how it was left.
// Returns as soon as the main window is shown; the run ends when it closes.
std::unique_ptr<frmGroups> Main(EditorServices services, EditorHooks hooks = {});

}  // namespace tav
