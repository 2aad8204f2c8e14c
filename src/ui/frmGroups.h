#pragma once
// The editor's main window: one group of the radio at a time, its parameters
// in the controls along the top and right, its 14 channels in the grid with
// three check-box columns beside it, and the menu bar that carries every
// command of the editor.

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

#include "app/SerialTraceFile.h"
#include "files/FileOpenSave.h"
#include "model/AppState.h"
#include "model/Controls.h"
#include "model/EntryRules.h"
#include "model/GroupCodecs.h"
#include "store/EditHistory.h"
#include "ui/ChannelChecks.h"
#include "ui/ChannelGridView.h"
#include "ui/EditorServices.h"

class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QRadioButton;
class QSessionManager;
class QStackedWidget;
class QPrinter;

namespace tav {

class FieldBindings;
class frmProc;
class RadioCommands;
class TransferGuard;
class WindowProgress;

class ChannelTable;
class ChannelRows;

class frmGroups : public QMainWindow, private GridEvents, private FileHost {
    Q_OBJECT

public:
    frmGroups(EditorServices services, EditorHooks hooks = {}, QWidget* parent = nullptr);
    ~frmGroups() override;

    EditorHooks hooks;

    // ----------------------------------------------------------- fields
    int16_t intCurrentGroup = -1;
    bool ISINITIALIZE = false;
    int16_t TargetGroup = 0;
    int LabelPolicy = 2;
    int CommPort = 1;  // 1..4, or kVirtualRadioPort
    int TypedGroupStart = 0;
    bool CopiedRow = false, CopiedAll = false;
    int CopiedLength = -1;
    int OffsetRow = 0;
    QString LastOffset;
    int LastOffsetKey = 0;
    int EditCol = 0;
    double EditOldValue = 0;
    QString EditOldText;  // the cell's whole text when its editing began
    bool UndoArmed = false;
    int UndoCol = 0, UndoRow = 0;
    QString UndoText;
    GroupControls Controls;
    // Every control that shows one group field, bound to it by key.
    FieldBindings* GroupFields = nullptr;
    // The radio file commands and their file names.
    std::unique_ptr<FileOpenSave> Files;

    // ----------------------------------------------------------- controls
    QComboBox *cboCurrentGroup = nullptr, *cboScan = nullptr, *cboTOT = nullptr;
    QComboBox *cboPri1Chan = nullptr, *cboUCGChan = nullptr, *cboBCI = nullptr;
    QComboBox *cboANI = nullptr, *cboBlTimeout = nullptr;
    QLineEdit *txtID = nullptr, *txtGroupLabel = nullptr, *txtOffset = nullptr;
    QRadioButton *priModeA = nullptr, *PriModeB = nullptr, *PriModeC = nullptr, *PriModeD = nullptr;
    QRadioButton *optBattSaveOff = nullptr, *optBattSaveOn = nullptr;
    QRadioButton *optUCGDisabled = nullptr, *optUCGEnabled = nullptr;
    QCheckBox *chkUCGEncode = nullptr, *chkPriKeyLock = nullptr, *chkENTCLRLock = nullptr;
    QCheckBox *chkBlKeypress = nullptr, *chkBlOther = nullptr, *chkBlChannel = nullptr,
              *chkBLScanState = nullptr, *chkAlphaEnabled = nullptr;
    QGroupBox *fraDualPri = nullptr, *fraPriMode = nullptr, *fraBattSave = nullptr,
              *fraUCG = nullptr, *fraLockout = nullptr, *fraBCI = nullptr, *fraANI = nullptr,
              *frmOffset = nullptr, *Backlight = nullptr;
    ChannelGridView* Grid = nullptr;
    ChannelChecks* checks = nullptr;
    CheckColumn chkScan{}, chkNarr{}, chkLoPower{};
    QProgressBar* Prog1 = nullptr;
    frmProc* procDialog = nullptr;
    QLabel* lblChannelHolding = nullptr;

    // ----------------------------------------------------------- menus
    QAction *mnuSave = nullptr, *mnuSaveAs = nullptr, *mnuOpen = nullptr, *mnuPrint = nullptr,
            *mnuSetup = nullptr, *mnuExit = nullptr;
    QAction *mnuExportCsv = nullptr, *mnuImportCsv = nullptr;
    QAction *mnuRead = nullptr, *mnuReadGlobal = nullptr, *mnuReadGroup = nullptr,
            *mnuWriteAll = nullptr, *mnuWriteGlobal = nullptr, *mnuWriteGroup = nullptr,
            *mnuReadCurrGroup = nullptr, *mnuWriteCurrGroup = nullptr, *mnuCompare = nullptr;
    QAction *mnuLabelRdGroup = nullptr, *mnuLabelRdRadio = nullptr, *mnuLabelWrtGroup = nullptr,
            *mnuLabelWrtRadio = nullptr;
    std::array<QAction*, 3> mnuLabelConfig{};
    QAction *mnuGlobals = nullptr, *mnuUndo = nullptr, *mnuAll = nullptr, *mnuRow = nullptr,
            *mnuPaste = nullptr, *mnuMove = nullptr, *mnuTune = nullptr, *mnuFleet = nullptr;
    QAction *mnuRedo = nullptr, *mnuClearChannel = nullptr, *mnuInsertChannel = nullptr,
            *mnuDeleteChannel = nullptr, *mnuFillDown = nullptr;
    std::array<QAction*, 5> mnuCommPort{};  // 1..4; entry 0 is the virtual radio
    QAction *mnuPerChanBand = nullptr, *mnuPerChanPwr = nullptr, *mnuChangedOnly = nullptr;
    QAction *mnuSerialTrace = nullptr, *mnuTraceFile = nullptr, *mnuBackupFolder = nullptr;
    QAction *mnuAbout = nullptr, *mnuHelp = nullptr;
    // The File menu's recent radio files, Alt+1 to Alt+5; hidden while unused.
    std::array<QAction*, 5> mnuRecent{};
    QAction* mnuRecentSeparator = nullptr;
    QAction* mnuVerifyAfterWrite = nullptr;

    // ----------------------------------------------------------- operations
    AppState& state() { return services_.state; }
    Prompter& prompter() { return services_.prompter; }
    Progress& progress();
    Clock& clock() { return services_.clock; }
    Settings& settings() { return services_.settings; }
    // The serial line of the chosen port (null until one could be made).
    SerialLink* commLink() { return comm_.get(); }
    // The line the radio link drives: the chosen port, through the serial
    // trace while that is on.
    SerialLink* activeLink();
    // The Radio menu's commands.
    RadioCommands& radio() { return *radio_; }
    // True while a radio command runs (its commands are disabled meanwhile).
    bool transferRunning() const { return transferDepth_ > 0; }
    ChannelGrid& grid() { return viewGrid_; }
    GroupCodecs& groups() { return *codecs_; }
    // Undo and redo of the changes made in the editor, and the modified mark.
    EditHistory& history() { return *history_; }

    void displayGroupMemory();
    void StoreCurrentGroup();
    void mnuWriteCurrGroup_Click();
    void SetPerChannelBandwidth(bool enable);
    void SetPerChannelPower(bool enable);
    // Writes read first and send only what the radio does not hold.
    void SetChangedOnly(bool enable);
    // Write Radio reads the radio back and says whether it holds the image.
    void SetVerifyAfterWrite(bool enable);
    void helpScreen(int context);
    void ValidateFrequency(double value, int column);
    // The desktop session is ending: with leave to ask, the same questions as
    // any close of the window. False when the user chose to stay.
    bool sessionEnding(bool mayAsk);
    // Copies the widgets into Controls and back.
    void controlsFromWidgets();
    void widgetsFromControls();
    // Read_Group / Write_Group of a group through the window's controls.
    void showGroup(int16_t group);
    void storeGroup(int16_t group);
    // Read_Labels_Only of a group through the window's controls.
    void showLabels(int16_t group);
    // The status bar's note that the radio holds no channels for the shown
    // group, shown or hidden as the image's configuration says.
    void showChannelHolding();

    // Edit commands.
    void Undo();
    void Redo();
    // Row commands on the grid's current row; a channel's cells, label and
    // check boxes move together.
    void ClearChannel();
    void InsertChannel();
    void DeleteChannel();
    // The current row's channel into the selected rows below it.
    void FillDown();
    void CopyAllRows();
    void CopyRow();
    void Paste();
    QString GetRowText(int row);
    void PasteRow(const QString& text, int row);
    void PasteAllRows(const QString& text);
    bool pasteAvailable() const;
    void OpenOffset();
    void txtOffset_KeyUp(int key);

    // Ports.
    void selectPort(int port);
    // The Config menu's port items, each with its device and whether that is present.
    void refreshPortItems();
    void setSerialTrace(bool on);
    // The serial devices a fleet run drives: the commands that use the
    // radio are disabled while the chosen port is one of them.
    void setFleetDevices(const QStringList& devices);
    void applyFleetLock();
    void openBackupFolder();
    static QString portCaption(int port, const QString& device);

    // Position and state from the settings; a place off every screen is
    // replaced by the centre of the primary screen.
    void restorePosition();
    void restoreState();

    void showAbout();
    void showHelp();
    void showTune();
    // File menu: the channels of every group as CSV, out and back in.
    void ExportChannels();
    void ImportChannels();

    // The unit data printout on the session's printer (a print preview, from
    // which a PDF can be saved, when the computer has no printer).
    void PrintUnitData();

    // The injected file dialog when there is one, else a desktop dialog with
    // these filters (the first selected) and this suffix for typed names.
    bool runFileDialog(bool saveMode, const QString& presetPath, QString& chosenPath,
                       const QStringList& filters, const QString& suffix);

signals:
    void unloaded();
    // The user changed a group field or check box of the window.
    void fieldEdited();

protected:
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // GridEvents
    bool BeforeColEdit(int column) override;
    void AfterColEdit(int column) override;
    bool GridKeyDown(int key) override;
    void GridKeyUp(int key) override;
    void GridClick() override;
    void GridDblClick() override;

    // FileHost
    void storeShownGroup() override;
    void storeGlobals() override;
    void redisplayGlobals() override;
    void redisplayShownGroup() override;
    void setCaption(const QString& text) override;
    void imageMatchesFile(bool opened) override;
    bool chooseFile(bool saveMode, const QString& presetPath, QString& chosenPath) override;
    void recentFilesChanged() override;
    bool chooseCsvFile(bool saveMode, QString& path);

    void buildWidgets();
    QWidget* buildTopFields();
    // A list or check box bound to the group field `key`.
    QComboBox* fieldList(QWidget* parent, const QString& name, const char* key);
    QCheckBox* checkBox(QWidget* parent, const char* key);
    QWidget* buildRightColumn();
    QGroupBox* buildBacklight(QWidget* parent);
    void orderTabStops();
    void buildMenus();
    void addLabelPolicyItems(QMenu* menu);
    void finishEditMenu();
    void addPortItems(QMenu* menu);
    void addRecentItems(QMenu* menu);
    void wireEditInput();
    // Every user edit of the group fields and check boxes reports fieldEdited.
    void watchFieldEdits();
    // Undo and redo: the editor's state, taken and shown again.
    void makeHistory();
    EditorState editorState();
    void showEditorState(const EditorState& s);
    void updateHistoryItems();
    void changeRows(const std::function<void(ChannelRows&)>& change);
    void commitData(QSessionManager& manager);
    void load();
    void cboCurrentGroup_Click();
    void cboCurrentGroup_KeyDown();
    void cboCurrentGroup_KeyUp();
    void unload();
    void setLabelPolicy(int policy);
    void mnuPerChanBand_Click();
    void mnuPerChanPwr_Click();
    void mnuPrint_Click();
    void mnuSetup_Click();
    void runHook(const std::function<void()>& hook);
    void dropLink();
    int initialPort() const;

    // Cell access on the current row.
    int currentRow() const;
    int currentColumn() const;
    void setCurrentCell(int column, int row);
    QString cellText(int column, int row) const;
    void setCell(int column, int row, const QString& text);
    // The text the user sees in the current cell, the open editor's included.
    QString liveText() const;
    // EditCol, EditOldText and EditOldValue from a cell before it changes.
    void recordOldValue(int column, int row);
    void putOldValueBack(int column, int row);
    // An entry the column's rule accepted goes into the cell as the radio
    // will show it (true); a refused one puts `old` back, beeps and says why.
    bool settleCell(int column, int row, const QString& typed, const EntryVerdict& verdict,
                    const QString& old);
    // The beep and the status bar line that says why an entry was refused;
    // the next accepted entry clears that line.
    void refuseEntry(const QString& field, const QString& typed, const QString& reason);
    void entryAccepted();
    void copyColumn(int from, int to, int row);

    // Groups the channel table's writes of a whole group into one transaction.
    std::unique_ptr<void, void (*)(void*)> tableBatch();

    EditorServices services_;
    ChannelTable* table_ = nullptr;  // the working table, when it is one
    ViewGrid viewGrid_;
    std::unique_ptr<GroupCodecs> codecs_;
    std::unique_ptr<EditHistory> history_;
    std::unique_ptr<WindowProgress> progress_;
    std::unique_ptr<SerialLink> comm_;
    SerialTraceFile trace_;
    bool traceOn_ = false;
    // Declared after the port and the trace: its radio link goes first.
    std::unique_ptr<RadioCommands> radio_;
    friend class TransferGuard;
    int transferDepth_ = 0;
    QStackedWidget* aniOrOffset_ = nullptr;
    QActionGroup* portGroup_ = nullptr;
    QActionGroup* labelGroup_ = nullptr;
    QPointer<QWidget> helpWindow_;
    QString csvPath_;  // the last CSV file chosen, offered again
    QString caption_;  // the window's caption before the port's mark
    QStringList fleetDevices_;
    std::shared_ptr<PrintService> printService_;
};

}  // namespace tav
