#pragma once
// The global parameters window: the unit-wide settings of the radio image,
// shown and edited apart from the main window and beside it (not modal). It
// works on the image only; the main window's radio and file commands call
// readGlobals() and writeGlobals() while it is open.

#include <QMainWindow>

#include "app/Ports.h"
#include "app/Settings.h"
#include "model/AppState.h"
#include "model/Controls.h"
#include "model/clsGlobals.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;

namespace tav {

class FieldBindings;

class frmGlobals : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kOpeningPauseMs = 1000;

    // `clock` times the opening pause and gives the beep that refuses a key
    // in the password box.
    frmGlobals(AppState& state, Settings& settings, Prompter& prompter, Clock& clock,
               QWidget* parent = nullptr);

    // Opens the window: shows it at once and fills it from the image after a
    // short pause that leaves the event loop running. Raises it when it is
    // already open.
    void showGlobals();
    // Read_Globals: every control from the image, discarding edits.
    void readGlobals();
    // Write_Globals: every control into the image.
    void writeGlobals();
    // Closes through the "Save Global Parameters?" question, as when the
    // program ends; false when the user chose to keep the window open.
    bool closeWithQuestion();

    bool isOpen() const { return state_.GlobalsWindowOpen; }
    // True from opening until the controls have been filled from the image.
    bool readPending() const { return readPending_; }
    // Every control that shows one unit field, bound to it by key.
    const FieldBindings& fields() const { return *fields_; }

    // Controls, by the names the rest of the editor knows them by.
    QGroupBox *frmFeatures = nullptr, *FrameDTMF = nullptr, *fraUnit = nullptr;
    QCheckBox *chkPerChannelBandwidth = nullptr, *chkPerChannelPower = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr;
    QComboBox *cboPorchTime = nullptr, *cboANIRate = nullptr, *cboDTMFDev = nullptr;
    QLabel *lblPorch = nullptr, *lblAniRate = nullptr, *LabelANIDev = nullptr;
    QComboBox *cboTalkBack = nullptr, *cboFreqDisplay = nullptr, *cboBattSave = nullptr,
              *cboPriRate = nullptr;
    QLabel *lblTalkBack = nullptr, *lblFreqDisplay = nullptr, *lblBattSave = nullptr,
           *lblPriRate = nullptr, *lblPassWord = nullptr;
    QLineEdit* txtPassWord = nullptr;
    QMenu* mnuFile = nullptr;
    QAction *mnuSave = nullptr, *mnuExit = nullptr, *mnuSep1 = nullptr, *mnuReadSettings = nullptr;

signals:
    // The window's values went into the image.
    void stored();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void buildControls();
    void buildMenu();
    void toWidgets();
    void fromWidgets();
    void unload();
    void runOpeningPause(int run);

    AppState& state_;
    Settings& settings_;
    Prompter& prompter_;
    Clock& clock_;
    FieldBindings* fields_;  // every control that shows one unit field
    GlobalControls controls_;
    clsGlobals codec_;
    // Counts openings, so that a pause outlived by its opening reads nothing.
    int openings_ = 0;
    // The controls hold no image values until the first read: a write before
    // it would store the design-time placeholders.
    bool readPending_ = true;
};

}  // namespace tav
