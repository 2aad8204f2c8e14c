#include "ui/ControlModule.h"

#include <QApplication>
#include <QScreen>

#include "ui/frmGroups.h"
#include "ui/frmSplash.h"

namespace tav {

std::unique_ptr<frmGroups> Main(EditorServices services, EditorHooks hooks) {
    auto* splash = new frmSplash;
    splash->adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        splash->move(screen->availableGeometry().center() - splash->rect().center());
    splash->show();
    splash->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    services.state.GlobalsWindowOpen = false;
    auto main = std::make_unique<frmGroups>(std::move(services), std::move(hooks));
    main->move(main->x(), 0);
    splash->close();
    main->show();
    main->restorePosition();
    main->restoreState();
    return main;
}

}  // namespace tav
