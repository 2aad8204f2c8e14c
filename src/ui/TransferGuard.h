#pragma once
// While a radio transfer runs, the waits serve the event loop so that the
// window repaints and the progress dialog's Cancel button works; that same
// loop would let the user start a second exchange or change the image under
// the transfer's feet. A TransferGuard, held for the length of a radio
// command, disables every such command: the main window's menu items (Help
// and About excepted), its group selector, controls and grid, and every other
// open window of the editor. Its destruction puts back exactly what it
// disabled, however the command ends. Guards nest: only the outermost acts.

#include <QPointer>
#include <vector>

class QAction;
class QWidget;

namespace tav {

class frmGroups;

class TransferGuard {
public:
    explicit TransferGuard(frmGroups& window);
    ~TransferGuard();
    TransferGuard(const TransferGuard&) = delete;
    TransferGuard& operator=(const TransferGuard&) = delete;

private:
    void disable(QAction* action);
    void disable(QWidget* widget);

    frmGroups& window_;
    std::vector<QPointer<QAction>> actions_;
    std::vector<QPointer<QWidget>> widgets_;
};

}  // namespace tav
