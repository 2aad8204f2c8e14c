#include "ui/WindowInput.h"

#include <QApplication>
#include <QKeyEvent>
#include <algorithm>

namespace tav {

WindowInput::WindowInput(QWidget* window, QList<QAction*> commands)
    : QObject(window), window_(window), commands_(std::move(commands)) {
    // The focus may be in any widget of the window, also in a cell editor
    // made later: the application sees every one of them first.
    qApp->installEventFilter(this);
}

WindowInput::~WindowInput() {
    if (qApp) qApp->removeEventFilter(this);
}

bool WindowInput::inWindow(QObject* watched) const {
    const auto* w = qobject_cast<QWidget*>(watched);
    return w && window_ && w->window() == window_;
}

bool WindowInput::isCommandKey(const QKeyEvent* k) const {
    const QKeySequence typed(
        QKeyCombination(k->modifiers() & ~Qt::KeypadModifier, Qt::Key(k->key())));
    return std::any_of(commands_.cbegin(), commands_.cend(),
                       [&](const QAction* a) { return a->shortcuts().contains(typed); });
}

bool WindowInput::eventFilter(QObject* watched, QEvent* e) {
    switch (e->type()) {
        case QEvent::ShortcutOverride:
            if (!inWindow(watched) || !isCommandKey(static_cast<QKeyEvent*>(e))) break;
            e->ignore();  // unanswered: the menu's shortcut runs
            return true;
        case QEvent::KeyPress:
            // Reaches the widget only when the command is disabled.
            if (!inWindow(watched) || !isCommandKey(static_cast<QKeyEvent*>(e))) break;
            e->accept();
            return true;
        case QEvent::MouseButtonPress:
            if (inWindow(watched)) emit pressed();
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, e);
}

}  // namespace tav
