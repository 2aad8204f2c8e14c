#pragma once
// The editor's help page in a window of its own.

#include <QWidget>

class QTextBrowser;

namespace tav {

class HelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);
    QTextBrowser* browser = nullptr;
};

}  // namespace tav
