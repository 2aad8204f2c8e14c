#include "ui/HelpWindow.h"

#include <QTextBrowser>
#include <QVBoxLayout>

// The help page is compiled into the editor's static library, whose resource
// registration the linker would otherwise drop.
static void registerHelpResources() {
    Q_INIT_RESOURCE(resources);
}

namespace tav {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("TAV Editor Help"));
    setAttribute(Qt::WA_DeleteOnClose);
    registerHelpResources();
    browser = new QTextBrowser(this);
    browser->setObjectName(QStringLiteral("browser"));
    browser->setOpenExternalLinks(true);
    browser->setSource(QUrl(QStringLiteral("qrc:/help/tavhelp.html")));
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(browser);
    const int em = fontMetrics().horizontalAdvance(QLatin1Char('M'));
    resize(em * 48, em * 40);
}

}  // namespace tav
