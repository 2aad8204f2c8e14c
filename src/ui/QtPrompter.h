#pragma once
// Message boxes of the windowed editor.

#include <QPointer>
#include <QWidget>

#include "app/Ports.h"

namespace tav {

class QtPrompter : public Prompter {
public:
    // Boxes are centred over `parent` when one is set.
    void setParent(QWidget* parent) { parent_ = parent; }
    MsgResult show(const QString& text, const QString& title, MsgButtons buttons, MsgIcon icon,
                   const QString& detail = QString()) override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace tav
