#include "ui/TransferGuard.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QProgressBar>

#include "ui/frmGroups.h"
#include "ui/frmProc.h"

namespace tav {

TransferGuard::TransferGuard(frmGroups& window) : window_(window) {
    if (window_.transferDepth_++ > 0) return;
    // What was typed into an open cell belongs to the grid from now on.
    window_.Grid->finishEdit();

    const QList<QAction*> spared{window_.mnuAbout, window_.mnuHelp};
    for (QAction* a : window_.findChildren<QAction*>()) {
        const QMenu* menu = a->menu();
        const bool helpMenu = menu && menu->objectName() == QLatin1String("mnuH");
        if (!spared.contains(a) && !helpMenu) disable(a);
    }
    // The controls and the grid, but not the bar that shows the transfer.
    for (QWidget* w : window_.centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w != window_.Prog1) disable(w);
    // Other windows of the editor (the global parameters, moves...); the
    // message boxes of the transfer come later and stay usable.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w != &window_ && w != window_.procDialog && !qobject_cast<QMenu*>(w))
            disable(w);
}

TransferGuard::~TransferGuard() {
    if (--window_.transferDepth_ > 0) return;
    for (const QPointer<QAction>& a : actions_)
        if (a) a->setEnabled(true);
    for (const QPointer<QWidget>& w : widgets_)
        if (w) w->setEnabled(true);
    // A fleet that started or ended meanwhile has the last word on the radio commands.
    window_.applyFleetLock();
}

void TransferGuard::disable(QAction* action) {
    if (!action->isEnabled()) return;
    action->setEnabled(false);
    actions_.emplace_back(action);
}

void TransferGuard::disable(QWidget* widget) {
    if (!widget->isEnabled()) return;
    widget->setEnabled(false);
    widgets_.emplace_back(widget);
}

}  // namespace tav
