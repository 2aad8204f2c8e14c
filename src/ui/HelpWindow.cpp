#include "ui/HelpWindow.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QShortcut>
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
    auto* buttons = new QDialogButtonBox(this);
    cmdClose = buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::RejectRole);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::close);
    for (const QKeySequence& key :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
        connect(new QShortcut(key, this), &QShortcut::activated, this, &QWidget::close);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(browser);
    auto* bottom = new QVBoxLayout;
    bottom->setContentsMargins(8, 0, 8, 8);
    bottom->addWidget(buttons);
    v->addLayout(bottom);
    browser->setFocus();  // the keys scroll the page from the start
    const int em = fontMetrics().horizontalAdvance(QLatin1Char('M'));
    resize(em * 48, em * 40);
}

}  // namespace tav
