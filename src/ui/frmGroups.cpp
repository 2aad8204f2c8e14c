#include "ui/frmGroups.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QSessionManager>
#include <QStatusBar>
#include <cmath>

#include "model/GridText.h"
#include "radio/WriteReport.h"
#include "store/ChannelTable.h"
#include "tune/frmTune.h"
#include "ui/AboutBox.h"
#include "ui/HelpWindow.h"
#include "ui/RadioCommands.h"
#include "ui/WindowPlacement.h"
#include "ui/frmProc.h"

namespace tav {

frmGroups::frmGroups(EditorServices services, EditorHooks editorHooks, QWidget* parent)
    : QMainWindow(parent), hooks(std::move(editorHooks)), services_(std::move(services)) {
    setObjectName(QStringLiteral("frmGroups"));
    setCaption(QStringLiteral("TAVEDWIN  -  TAV Editor"));
    radio_ = std::make_unique<RadioCommands>(*this);
    buildWidgets();
    buildMenus();
    wireEditInput();
    viewGrid_.attach(Grid);
    const GroupCodecsFactory factory =
        services_.groupCodecs ? services_.groupCodecs : GroupCodecsFactory(makeGroupCodecs);
    codecs_ = factory(services_.state, Controls, viewGrid_);
    makeHistory();
    progress_ = std::make_unique<WindowProgress>(Prog1, procDialog);
    printService_ = services_.printService ? services_.printService
                                           : std::make_shared<PrintService>(services_.prompter);
    Files = std::make_unique<FileOpenSave>(services_.state, static_cast<FileHost&>(*this),
                                           services_.prompter, services_.settings);
    load();
    history_->startOver();
    watchFieldEdits();
    // A reference argument: the session manager waits for the answer.
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, &frmGroups::commitData,
            Qt::DirectConnection);
}

frmGroups::~frmGroups() = default;

Progress& frmGroups::progress() {
    return *progress_;
}

void frmGroups::runHook(const std::function<void()>& hook) {
    if (hook) hook();
}

// ------------------------------------------------------------------ start-up

void frmGroups::load() {
    AppState& s = services_.state;
    {
        const auto batch = tableBatch();
        for (int16_t g = 0; g < kGroupCount; ++g) {
            s.NewGroupIndex = g;
            codecs_->WriteDefaults(g);
        }
    }

    QGuiApplication::clipboard()->clear();
    CopiedRow = CopiedAll = false;
    CopiedLength = -1;
    mnuPaste->setEnabled(false);
    LastOffset.clear();
    setCurrentCell(currentColumn() < 0 ? 0 : currentColumn(), 0);

    selectPort(initialPort());

    Settings& settings = services_.settings;
    setSerialTrace(settings.flag(kComm, QStringLiteral("Trace"), false));
    SetPerChannelPower(settings.perChannelPower());
    SetPerChannelBandwidth(settings.perChannelBandwidth());
    SetChangedOnly(settings.flag(kFeatures, QStringLiteral("ChangedOnly"), false));
    SetVerifyAfterWrite(settings.flag(kFeatures, QStringLiteral("VerifyAfterWrite"), false));
    const int policy = settings.integer(kFeatures, QStringLiteral("Label"), 2);
    setLabelPolicy(policy >= 0 && policy <= 2 ? policy : 2);

    intCurrentGroup = static_cast<int16_t>(std::max(0, cboCurrentGroup->currentIndex()));

    ISINITIALIZE = true;
    if (cboCurrentGroup->currentIndex() == 0)
        cboCurrentGroup_Click();
    else
        cboCurrentGroup->setCurrentIndex(0);

    checks->alignToRows();
    restorePosition();
    showGroup(0);
    Files->OpenFromCommandLine(FileOpenSave::commandLineText(services_.arguments));
    ISINITIALIZE = false;
}

void frmGroups::setLabelPolicy(int policy) {
    LabelPolicy = policy;
    mnuLabelConfig[static_cast<std::size_t>(policy)]->setChecked(true);
}

// ------------------------------------------------------------------ groups

void frmGroups::cboCurrentGroup_Click() {
    // A number typed before the switch is no longer the one to put back.
    TypedGroupStart = 0;
    // Made before the switch, a change belongs to the group being left.
    if (history_ && !ISINITIALIZE) history_->record(QStringLiteral("Edit"));
    if (!ISINITIALIZE && intCurrentGroup >= 0) storeGroup(intCurrentGroup);
    if (!ISINITIALIZE) {
        intCurrentGroup = static_cast<int16_t>(cboCurrentGroup->currentIndex());
        if (intCurrentGroup >= 0) showGroup(intCurrentGroup);
    }
    Grid->clearSelection();
    UndoCol = -1;
    if (history_) history_->setBarrier();
    setCurrentCell(std::max(0, currentColumn()), 0);
}

std::unique_ptr<void, void (*)(void*)> frmGroups::tableBatch() {
    if (!table_) return {nullptr, [](void*) {}};
    table_->beginBatch();
    return {table_, [](void* t) { static_cast<ChannelTable*>(t)->endBatch(); }};
}

void frmGroups::showGroup(int16_t group) {
    controlsFromWidgets();  // what a codec leaves alone stays as shown
    {
        const auto batch = tableBatch();
        codecs_->Read_Group(group);
    }
    widgetsFromControls();
    showChannelHolding();
}

void frmGroups::showChannelHolding() {
    const int group = cboCurrentGroup->currentIndex();
    const bool unheld = imageSaysGroupUnheld(services_.state, group);
    lblChannelHolding->setText(unheld ? unheldGroupNotice(group) : QString());
    lblChannelHolding->setVisible(unheld);
}

void frmGroups::storeGroup(int16_t group) {
    Grid->finishEdit();
    controlsFromWidgets();
    codecs_->Write_Group(group);
}

void frmGroups::showLabels(int16_t group) {
    controlsFromWidgets();
    {
        const auto batch = tableBatch();
        codecs_->Read_Labels_Only(group);
    }
    widgetsFromControls();
}

// ------------------------------------------------------------------ files

void frmGroups::storeShownGroup() {
    StoreCurrentGroup();
}

void frmGroups::storeGlobals() {
    runHook(hooks.storeGlobals);
}

void frmGroups::redisplayGlobals() {
    runHook(hooks.redisplayGlobals);
}

void frmGroups::redisplayShownGroup() {
    const int index = cboCurrentGroup->currentIndex();
    if (index >= 0) showGroup(static_cast<int16_t>(index));
}

void frmGroups::setCaption(const QString& text) {
    caption_ = text;
    // "[*]" shows the mark of unsaved changes. No one should take the
    // simulated radio for a real one.
    const QString marked = text + QStringLiteral("[*]");
    setWindowTitle(CommPort == kVirtualRadioPort ? marked + QStringLiteral(" \u2014 Virtual radio")
                                                 : marked);
}

bool frmGroups::chooseFile(bool saveMode, const QString& presetPath, QString& chosenPath) {
    return runFileDialog(saveMode, presetPath, chosenPath, FileOpenSave::nameFilters(),
                         QStringLiteral("tav"));
}

bool frmGroups::runFileDialog(bool saveMode, const QString& presetPath, QString& chosenPath,
                              const QStringList& filters, const QString& suffix) {
    if (services_.fileDialog) return services_.fileDialog(saveMode, presetPath, chosenPath);
    QFileDialog dialog(this);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.constFirst());
    dialog.setAcceptMode(saveMode ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saveMode ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (saveMode) dialog.setDefaultSuffix(suffix);
    if (!presetPath.isEmpty()) dialog.selectFile(presetPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    chosenPath = dialog.selectedFiles().constFirst();
    return true;
}

void frmGroups::displayGroupMemory() {
    const int group = static_cast<int>(grid::valueOf(cboCurrentGroup->currentText())) - 1;
    if (group < 0 || group >= kGroupCount) return;
    // The shown group and the selection must agree, or the next switch would
    // store this group's values over the one selected before.
    if (cboCurrentGroup->currentIndex() != group) {
        QSignalBlocker quiet(cboCurrentGroup);
        cboCurrentGroup->setCurrentIndex(group);
    }
    intCurrentGroup = static_cast<int16_t>(group);
    showGroup(static_cast<int16_t>(group));
}

void frmGroups::StoreCurrentGroup() {
    const int index = cboCurrentGroup->currentIndex();
    if (index >= 0) storeGroup(static_cast<int16_t>(index));
}

void frmGroups::mnuWriteCurrGroup_Click() {
    const int index = cboCurrentGroup->currentIndex();
    TargetGroup = static_cast<int16_t>(index >= 0 ? index : 0);
    storeGroup(TargetGroup);
    intCurrentGroup = static_cast<int16_t>(index);
}

void frmGroups::cboCurrentGroup_KeyDown() {
    if (TypedGroupStart == 0)
        TypedGroupStart = static_cast<int>(grid::valueOf(cboCurrentGroup->currentText()));
}

void frmGroups::cboCurrentGroup_KeyUp() {
    const double typed = grid::valueOf(cboCurrentGroup->currentText());
    const int n = static_cast<int>(std::floor(typed));
    if (n < 1 || n > kGroupCount) {
        refuseEntry(QStringLiteral("Current Group"), cboCurrentGroup->currentText(),
                    QStringLiteral("not a group number from 1 to %1").arg(kGroupCount));
        cboCurrentGroup->setEditText(QString::number(TypedGroupStart));
        TypedGroupStart = 0;
    }
}

bool frmGroups::eventFilter(QObject* watched, QEvent* e) {
    const bool press = e->type() == QEvent::KeyPress;
    const bool release = e->type() == QEvent::KeyRelease;
    if (!press && !release) return QMainWindow::eventFilter(watched, e);
    auto* k = static_cast<QKeyEvent*>(e);
    if (watched == cboCurrentGroup) {
        if (press) cboCurrentGroup_KeyDown();
        if (release && !k->isAutoRepeat()) cboCurrentGroup_KeyUp();
    } else if (watched == txtOffset && release && !k->isAutoRepeat()) {
        txtOffset_KeyUp(k->key());
    }
    return QMainWindow::eventFilter(watched, e);
}

// ------------------------------------------------------------------ options

void frmGroups::SetPerChannelBandwidth(bool enable) {
    services_.state.PerChanBandOn = enable;
    mnuPerChanBand->setChecked(enable);
    for (QCheckBox* box : chkNarr) box->setEnabled(enable);
}

void frmGroups::SetPerChannelPower(bool enable) {
    services_.state.PerChanPwrOn = enable;
    mnuPerChanPwr->setChecked(enable);
    for (QCheckBox* box : chkLoPower) box->setEnabled(enable);
}

void frmGroups::SetVerifyAfterWrite(bool enable) {
    mnuVerifyAfterWrite->setChecked(enable);
    radio_->setVerifyAfterWrite(enable);
}

void frmGroups::SetChangedOnly(bool enable) {
    mnuChangedOnly->setChecked(enable);
    radio_->setChangedOnly(enable);
}

void frmGroups::mnuPerChanBand_Click() {
    const bool on = !services_.state.PerChanBandOn;
    SetPerChannelBandwidth(on);
    services_.settings.savePerChannelBandwidth(on);
}

void frmGroups::mnuPerChanPwr_Click() {
    const bool on = !services_.state.PerChanPwrOn;
    SetPerChannelPower(on);
    services_.settings.savePerChannelPower(on);
}

void frmGroups::helpScreen(int context) {
    if (context == 1)
        services_.prompter.show(QStringLiteral("Enter the frequency offset, eg: -2, 7"), QString(),
                                MsgButtons::Ok, MsgIcon::None);
}

// ------------------------------------------------------------------ other windows

void frmGroups::mnuPrint_Click() {
    const int index = cboCurrentGroup->currentIndex();
    if (index >= 0) showGroup(static_cast<int16_t>(index));
    PrintUnitData();
}

void frmGroups::PrintUnitData() {
    if (printService_->PrintUnitData(this, services_.state, Files->PrintFileName))
        statusBar()->showMessage(printService_->destinationText());
}

void frmGroups::mnuSetup_Click() {
    printService_->PrintSetup(this);
}

void frmGroups::showTune() {
    if (!comm_) {
        services_.prompter.show(QStringLiteral("No serial port is available for tuning."),
                                QString(), MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    frmTune tune(LinkContext{services_.state, *activeLink(), services_.clock, services_.prompter,
                             *progress_},
                 this);
    tune.exec();
}

void frmGroups::showAbout() {
    AboutBox box(services_.prompter, this);
    box.exec();
}

void frmGroups::showHelp() {
    if (!helpWindow_) helpWindow_ = new HelpWindow(this);
    helpWindow_->show();
    helpWindow_->raise();
    helpWindow_->activateWindow();
}

// ------------------------------------------------------------------ place and close

void frmGroups::restorePosition() {
    RestoreWindowPosition(*this, services_.settings, kPosition, QStringLiteral("GroupTop"),
                          QStringLiteral("GroupLeft"));
}

void frmGroups::restoreState() {
    switch (services_.settings.integer(kPosition, QStringLiteral("State"), 0)) {
        case 1:
            setWindowState(Qt::WindowMinimized);
            break;
        case 2:
            setWindowState(Qt::WindowMaximized);
            break;
        default:
            break;
    }
}

void frmGroups::closeEvent(QCloseEvent* e) {
    // The transfer under way would go on with a closed port and a window gone.
    if (transferRunning()) {
        services_.clock.beep();
        e->ignore();
        return;
    }
    const MsgResult answer = services_.prompter.show(QStringLiteral("Save before exit?"), QString(),
                                                     MsgButtons::YesNoCancel, MsgIcon::Question);
    const bool saved = answer == MsgResult::Yes && Files->SaveFileAs();
    // Cancel at the global parameters window's own question keeps both
    // windows: with this one gone, that one would be left alone in a
    // program that no longer ends.
    if (answer == MsgResult::Cancel || (answer == MsgResult::Yes && !saved) ||
        (hooks.closeGlobals && !hooks.closeGlobals()) ||
        (hooks.closeFleet && !hooks.closeFleet())) {
        e->ignore();
        return;
    }
    unload();
    e->accept();
}

bool frmGroups::sessionEnding(bool mayAsk) {
    // Without leave to ask nothing is decided here; when the session then
    // ends, the application's quit closes the windows as usual.
    return !mayAsk || isHidden() || close();
}

void frmGroups::commitData(QSessionManager& manager) {
    if (sessionEnding(manager.allowsInteraction()))
        manager.release();
    else
        manager.cancel();
}

void frmGroups::unload() {
    Settings& settings = services_.settings;
    const Qt::WindowStates ws = windowState();
    const int stateNumber = ws & Qt::WindowMinimized ? 1 : ws & Qt::WindowMaximized ? 2 : 0;
    settings.saveInteger(kPosition, QStringLiteral("State"), stateNumber);
    if (stateNumber == 0)
        SaveWindowPosition(*this, settings, kPosition, QStringLiteral("GroupTop"),
                           QStringLiteral("GroupLeft"));
    settings.sync();
    dropLink();
    if (comm_ && comm_->isOpen()) comm_->close();
    if (helpWindow_) helpWindow_->close();
    procDialog->hide();
    emit unloaded();
}

void frmGroups::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && !transferRunning())
        mnuPaste->setEnabled(pasteAvailable());
}

}  // namespace tav
