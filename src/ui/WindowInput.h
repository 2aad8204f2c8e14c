#pragma once
// Keyboard and mouse input of one window, seen before the widget that has
// the focus or the pointer gets it: the menu's edit shortcuts, and every
// mouse press (the grid's copy highlight goes at the next click).
//
// A focused line edit claims Ctrl+A, Ctrl+V and Ctrl+Z as its own select-all,
// paste and undo before the menu sees them, so an open cell editor took a
// copied grid row as text. For the commands given here the window's menu
// wins wherever the focus is: the shortcut override is left unanswered, so
// the menu command runs, and while a command is disabled its key does
// nothing at all.

#include <QAction>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

class QKeyEvent;

namespace tav {

class WindowInput : public QObject {
    Q_OBJECT

public:
    WindowInput(QWidget* window, QList<QAction*> commands);
    ~WindowInput() override;

signals:
    // A mouse button went down somewhere in the window.
    void pressed();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    bool inWindow(QObject* watched) const;
    bool isCommandKey(const QKeyEvent* k) const;

    QPointer<QWidget> window_;
    QList<QAction*> commands_;
};

}  // namespace tav
