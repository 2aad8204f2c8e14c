#pragma once
// The Radio menu of the main window: reading and writing the whole radio, its
// global block or one group, the label commands and the label decision. Each
// command confirms where a write is concerned, lets the label policy decide
// whether the labels travel too, shows the progress dialog while the radio
// link works, and afterwards refreshes the windows from the image or, when a
// read failed, puts the image back as it was. Successful reads, and the image
// about to be written, are saved as automatic backups.

#include <QDateTime>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>

#include "app/Ports.h"
#include "files/Backups.h"
#include "model/AppState.h"
#include "model/ImageDiff.h"
#include "ui/frmCompare.h"

namespace tav {

class clsTavCom;
class frmGroups;

// The label decision of a radio command.
enum LabelDecision { kWithoutLabels = 0, kWithLabels = 1, kCancelCommand = 2 };

class RadioCommands {
public:
    explicit RadioCommands(frmGroups& window);
    ~RadioCommands();

    // Radio menu.
    void mnuRead_Click();
    void mnuReadGlobal_Click();
    void mnuReadGroup_Click();
    void mnuWriteAll_Click();
    void mnuWriteGlobal_Click();
    void mnuWriteGroup_Click();
    // Reads the radio into an image of its own and shows how it differs from
    // the editor's, which stays as it is.
    void mnuCompare_Click();
    // Config > Verify After Write: after a successful Write Radio the radio is
    // read back and compared with the image written, as tavctl write --verify does.
    void setVerifyAfterWrite(bool on) { verifyAfterWrite_ = on; }
    // Labels submenu.
    void mnuLabelRdGroup_Click();
    void mnuLabelRdRadio_Click();
    void mnuLabelWrtGroup_Click();
    void mnuLabelWrtRadio_Click();

    LabelDecision PromptForLabels(bool isWrite);
    void SaveLabels();
    void RestoreLabels();

    // The radio link over the window's port; null when there is no port.
    // Made on first use and dropped by portChanging().
    clsTavCom* RadioLink();
    // Call before the port the link drives is closed or replaced.
    void portChanging();
    // Whether the writes send only what the radio does not hold already.
    void setChangedOnly(bool on);
    // The window of the last comparison; null before the first.
    frmCompare* compareWindow() const { return compare_; }

    Backups& backups() { return backups_; }
    // The time that names the backups (the local time unless a test sets it).
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };

    std::array<uint8_t, kEEPromSize> ImageBackup{};
    std::array<uint8_t, kLabelImageSize> LabelBackup{};

private:
    // A radio link that works on `image`; null (and a message) without a port.
    std::unique_ptr<clsTavCom> makeLink(AppState& image);
    // The label flows; true when the labels were transferred.
    bool readGroupLabels();
    bool readAllLabels();
    bool writeGroupLabels(bool backupFirst);
    bool writeAllLabels(bool backupFirst);
    // Write_Group of the selected group (or group 1 when none is), as
    // TargetGroup; its labels reach the label table.
    void storeTargetGroup();
    // The group number 1 to 15 in the group box text; 0 (and a beep) when the
    // text names no group.
    int16_t typedGroupNumber();
    bool confirmWrite();
    void backup(const QString& kind);
    // Reads the radio into an image of its own and compares `image` with it
    // over `reach` (the power mask when the radio holds its block). False
    // when the read failed or was cancelled. `warn`: the radio's missing
    // per-channel options are told as a read tells them.
    bool readAndCompare(const AppState& image, RadioReach reach, const QString& message, bool warn,
                        QStringList& differences);
    // After Write Radio: reads back what the write could change and says
    // whether the radio holds `written`.
    void verifyWrite(const AppState& written, bool skipGlobal, bool labels);
    // The comparison's window, shown with the differences and their header.
    void showComparison(const QStringList& differences, const QString& title);
    // The radio as the last hook identified it, and the port it is on.
    QString radioIdentity() const;
    void storeGlobalsWindow();
    void redisplayGlobalsWindow();
    MsgResult say(const QString& text, const QString& title = QString(),
                  MsgButtons buttons = MsgButtons::Ok, MsgIcon icon = MsgIcon::None,
                  const QString& detail = QString());
    AppState& state();
    Progress& progress();

    frmGroups& w_;
    Backups backups_;
    std::unique_ptr<clsTavCom> link_;
    bool changedOnly_ = false;
    bool verifyAfterWrite_ = false;
    uint8_t lastId_ = 0;  // identification byte of the radio last compared
    QPointer<frmCompare> compare_;
};

}  // namespace tav
