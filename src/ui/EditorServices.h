#pragma once
// What the main window is built from: the shared state, the settings, the
// message boxes, the clock, and the makers of the serial line and the codecs.
// The program passes the real ones; tests pass doubles and build the window
// without a display.

#include <QAbstractItemModel>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "app/Ports.h"
#include "app/Settings.h"
#include "model/AppState.h"
#include "model/GroupCodecs.h"
#include "ui/PrintService.h"

namespace tav {

// Port number 0 stands for the built-in virtual radio, 1 to 4 for the serial
// ports of the Config menu.
constexpr int kVirtualRadioPort = 0;
using PortFactory = std::function<std::unique_ptr<SerialLink>(int port)>;

struct EditorServices {
    EditorServices(AppState& s, Settings& set, Prompter& p, Clock& c)
        : state(s), settings(set), prompter(p), clock(c) {}
    AppState& state;
    Settings& settings;
    Prompter& prompter;
    Clock& clock;
    // The command line, the program's name first.
    QStringList arguments;
    // Makes the serial line of a port; may return null when none can be had.
    PortFactory openPort;
    // Whether the device of a serial port is present on this computer.
    std::function<bool(const QString& device)> deviceExists;
    // The group codecs; the editor's own when empty.
    GroupCodecsFactory groupCodecs;
    // The working channel table behind the grid; when null the window opens
    // "TavCurrent.MDB" itself. The window takes ownership when the model has
    // no parent.
    QAbstractItemModel* channelTable = nullptr;
    // The file dialog: save or open mode, the preset path, the chosen path
    // out; false when cancelled. A desktop file dialog when empty.
    std::function<bool(bool saveMode, const QString& preset, QString& chosen)> fileDialog;
    // Printing and Print Setup; the session's own printer when null.
    std::shared_ptr<PrintService> printService;
};

// Commands that other windows and modules carry out for the main window.
// An empty hook leaves its menu item doing nothing.
struct EditorHooks {
    // Other windows.
    std::function<void()> showGlobals, showMove;
    // Closes the global parameters window, if open, through its question;
    // false when the user keeps it open.
    std::function<bool()> closeGlobals;
    // The global parameters window's Write_Globals and Read_Globals, run by
    // the file and radio commands while that window is open.
    std::function<void()> storeGlobals, redisplayGlobals;
};

}  // namespace tav
