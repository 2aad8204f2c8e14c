#pragma once
// The window shown while the editor starts. It has no timing of its own: the
// start-up closes it once the main window is ready.

#include <QWidget>

class QFrame;
class QLabel;

namespace tav {

class frmSplash : public QWidget {
    Q_OBJECT

public:
    explicit frmSplash(QWidget* parent = nullptr);

    QFrame* fraMainFrame = nullptr;
    QLabel* Picture1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* lblProductName = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblCompanyProduct = nullptr;
    QLabel* lblPlatform = nullptr;
};

}  // namespace tav
