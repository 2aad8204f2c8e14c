#pragma once
// The editor's help page in a window of its own, closed by its Close button,
// Escape or Ctrl+W.

#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace tav {

class HelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);
    QTextBrowser* browser = nullptr;
    QPushButton* cmdClose = nullptr;
};

}  // namespace tav
