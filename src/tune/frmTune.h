#pragma once
// The tuning window: receiver tuning slope and high and low power, read from
// and written to the connected radio's EEPROM at once. The in-memory image is
// neither read nor changed here.

#include <QDialog>
#include <QPointer>
#include <array>
#include <cstdint>
#include <memory>

#include "radio/clsTavCom.h"

class QLabel;
class QPushButton;

namespace tav {

class TuneBox;

class frmTune : public QDialog {
    Q_OBJECT

public:
    static constexpr int kBoxCount = 3;

    // `ctx.port` is the main window's serial port; the window makes its own
    // radio link over it.
    explicit frmTune(const LinkContext& ctx, QWidget* parent = nullptr);
    ~frmTune() override;

    TuneBox* box(int index) const { return TAVTuneBox.at(static_cast<std::size_t>(index)); }
    int16_t selectedBox() const { return SelectedBox; }
    // True while a hook, read or write is under way.
    bool isBusy() const { return busy_; }

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void done(int result) override;

private:
    void buildControls();
    void Load();
    void Unload();

    bool HookForTuning();
    void ReleaseAfterTuning();
    void ReadTuning();
    void WriteTuning(int16_t which);
    void ShowBusy();
    void ShowIdle();

    template <typename Operation>
    void runOperation(Operation&& op);
    void stepSelected(int delta);
    void boxLeave(int index, int16_t direction);
    void focusBox(int index);
    void activated();

    LinkContext ctx_;
    std::unique_ptr<clsTavCom> link_;

    std::array<TuneBox*, kBoxCount> TAVTuneBox{};
    QPushButton* cmdRead = nullptr;
    QPushButton* cmdWrite = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdExit = nullptr;
    QLabel* lblStatus = nullptr;
    QLabel* Label4 = nullptr;

    bool Hooked = false;
    bool CancelRequested = false;
    bool Closing = false;
    int16_t SelectedBox = 0;

    bool busy_ = false;           // an operation is on the stack
    bool closeWhenIdle_ = false;  // the window was closed during that operation
    bool unloaded_ = false;
    bool activatedOnce_ = false;
    QPointer<QWidget> lostActivationTo_;
};

}  // namespace tav
