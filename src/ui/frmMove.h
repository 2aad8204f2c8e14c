#pragma once
// The Move Banks dialog: moves a whole group (bank) to another place in the
// group order of the radio image, then has the main window show its current
// group again from the image. The shown group is stored first, so edits not
// yet stored move with their group rather than being lost.

#include <QDialog>
#include <functional>

#include "app/Ports.h"
#include "model/AppState.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace tav {

class frmMove : public QDialog {
    Q_OBJECT

public:
    // `storeShown` writes the main window's shown group into the image;
    // `redisplay` re-reads it from the image.
    frmMove(AppState& state, Prompter& prompter, std::function<void()> storeShown,
            std::function<void()> redisplay, QWidget* parent = nullptr);

    // Unless it is already showing: centred on the screen and modal.
    void showCentred();

    QLabel *lblFromBank = nullptr, *lblToBank = nullptr;
    QComboBox *cboFromBank = nullptr, *cboToBank = nullptr;
    QPushButton* btnMoveOK = nullptr;

private:
    void btnMoveOK_Click();
    void buildControls();

    AppState& state_;
    Prompter& prompter_;
    std::function<void()> storeShown_;
    std::function<void()> redisplay_;
};

}  // namespace tav
