#include "ui/RadioCommands.h"

#include <QComboBox>
#include <algorithm>

#include "model/GridText.h"
#include "model/ImageDiff.h"
#include "radio/WriteReach.h"
#include "radio/WriteReport.h"
#include "radio/clsTavCom.h"
#include "ui/TransferGuard.h"
#include "ui/frmGroups.h"

namespace tav {

namespace {
const QString kReadingRadio = QStringLiteral("Please Wait - Reading Radio");
const QString kWritingRadio = QStringLiteral("Please Wait - Writing Radio");
const QString kReadLabels = QStringLiteral("Read Labels");
const QString kWriteLabels = QStringLiteral("Write Labels");
const QString kRead = QStringLiteral("read");
const QString kWrite = QStringLiteral("write");
const QString kReadRadio = QStringLiteral("Read Radio");
const QString kWriteRadio = QStringLiteral("Write Radio");
// After the groups went through but their labels did not: one box that says
// both, in place of the success box, and which labels the image holds.
const QString kLabelsNotRead = QStringLiteral(
    "The groups were read, but the labels were not: the image keeps the labels it had before.");
const QString kLabelsNotWritten = QStringLiteral(
    "The groups were written, but the labels were not: the image keeps its labels, and the "
    "radio may hold only some of them.");
}  // namespace

RadioCommands::RadioCommands(frmGroups& window) : w_(window) {}

RadioCommands::~RadioCommands() = default;

AppState& RadioCommands::state() {
    return w_.state();
}

Progress& RadioCommands::progress() {
    return w_.progress();
}

MsgResult RadioCommands::say(const QString& text, const QString& title, MsgButtons buttons,
                             MsgIcon icon, const QString& detail) {
    return w_.prompter().show(text, title, buttons, icon, detail);
}

std::unique_ptr<clsTavCom> RadioCommands::makeLink(AppState& image) {
    SerialLink* port = w_.activeLink();
    if (!port) {
        say(QStringLiteral("No serial port is available."), QStringLiteral("COMM ERROR"));
        return nullptr;
    }
    return std::make_unique<clsTavCom>(
        LinkContext{image, *port, w_.clock(), w_.prompter(), progress()});
}

clsTavCom* RadioCommands::RadioLink() {
    if (!link_) link_ = makeLink(state());
    if (link_) link_->ChangedOnly = changedOnly_;
    return link_.get();
}

void RadioCommands::setChangedOnly(bool on) {
    changedOnly_ = on;
}

void RadioCommands::portChanging() {
    link_.reset();
}

// ------------------------------------------------------------------ reads

void RadioCommands::mnuRead_Click() {
    TransferGuard busy(w_);
    const LabelDecision decision = PromptForLabels(false);
    if (decision == kCancelCommand) return;
    clsTavCom* link = RadioLink();
    if (!link) return;
    progress().ShowForm(kReadingRadio, false);
    std::copy_n(state().EEImage.begin(), kEEPromSize, ImageBackup.begin());
    const bool ok = link->ReadEEMemory();
    progress().HideForm();
    if (!ok) {
        std::copy(ImageBackup.begin(), ImageBackup.end(), state().EEImage.begin());
        return;
    }
    const bool labelsRead = decision != kWithLabels || readAllLabels();
    backup(kRead);
    w_.displayGroupMemory();
    if (labelsRead)
        say(QStringLiteral("All groups read OK."), kReadRadio);
    else
        say(kLabelsNotRead, kReadRadio, MsgButtons::Ok, MsgIcon::Exclamation);
    redisplayGlobalsWindow();
}

void RadioCommands::mnuReadGlobal_Click() {
    TransferGuard busy(w_);
    clsTavCom* link = RadioLink();
    if (!link) return;
    // A failed read, even one that broke off after the block, leaves the image as it was.
    std::copy_n(state().EEImage.begin(), kPageSize, ImageBackup.begin());
    if (!link->ReadEEGlobal()) {
        std::copy_n(ImageBackup.begin(), kPageSize, state().EEImage.begin());
        return;
    }
    backup(kRead);
    // The block says which groups the radio holds channels for.
    w_.showChannelHolding();
    redisplayGlobalsWindow();
}

void RadioCommands::mnuReadGroup_Click() {
    TransferGuard busy(w_);
    const LabelDecision decision = PromptForLabels(false);
    if (decision == kCancelCommand) return;
    const int16_t group = typedGroupNumber();
    clsTavCom* link = group ? RadioLink() : nullptr;
    if (!link) return;
    progress().ShowForm(kReadingRadio, false);
    std::copy_n(state().EEImage.begin(), kEEPromSize, ImageBackup.begin());
    const bool ok = link->ReadEEGroup(group);
    progress().HideForm();
    if (!ok) {
        std::copy(ImageBackup.begin(), ImageBackup.end(), state().EEImage.begin());
        return;
    }
    if (decision == kWithLabels) readGroupLabels();
    backup(kRead);
    w_.displayGroupMemory();
}

void RadioCommands::mnuCompare_Click() {
    TransferGuard busy(w_);
    // What is compared is what the editor shows, edits not yet stored included.
    w_.StoreCurrentGroup();
    storeGlobalsWindow();
    const LabelDecision decision = PromptForLabels(false);
    if (decision == kCancelCommand) return;
    RadioReach reach;
    reach.labels = decision == kWithLabels;
    QStringList differences;
    // The read warns as Read Radio would.
    if (readAndCompare(state(), reach, kReadingRadio, true, differences))
        showComparison(differences, QStringLiteral("Compare with Radio"));
}

bool RadioCommands::readAndCompare(const AppState& image, RadioReach reach, const QString& message,
                                   bool warn, QStringList& differences) {
    // The radio's image lives apart, so the editor's cannot be touched by the
    // read, whatever becomes of it.
    AppState radio;
    radio.PerChanBandOn = warn && state().PerChanBandOn;
    radio.PerChanPwrOn = warn && state().PerChanPwrOn;
    const std::unique_ptr<clsTavCom> link = makeLink(radio);
    if (!link) return false;
    progress().ShowForm(message, false);
    const bool ok = link->ReadEEMemory() && (!reach.labels || link->Read_Labels(-1));
    progress().HideForm();
    if (!ok) return false;
    lastId_ = link->HookId;
    reach.powerMask = radio.PowerBlockPresent != 0;
    differences = CompareWithRadio(image, radio, reach);
    return true;
}

void RadioCommands::showComparison(const QStringList& differences, const QString& title) {
    if (!compare_)
        compare_ = new frmCompare(
            w_.prompter(),
            [this](QString& path) {
                return w_.runFileDialog(true, QString(), path, {QStringLiteral("Text (*.txt)")},
                                        QStringLiteral("txt"));
            },
            &w_);
    compare_->setWindowTitle(title);
    compare_->showComparison({w_.Files->PrintFileName, radioIdentity(), now()}, differences);
    compare_->show();
    compare_->raise();
    compare_->activateWindow();
}

QString RadioCommands::radioIdentity() const {
    const QString port = w_.CommPort == kVirtualRadioPort
                             ? QStringLiteral("the virtual radio")
                             : QStringLiteral("Comm Port %1 (%2)")
                                   .arg(w_.CommPort)
                                   .arg(w_.settings().portDevice(w_.CommPort));
    return QStringLiteral("TAV radio, identification byte 0x%1, on %2")
        .arg(QString::number(lastId_, 16).toUpper().rightJustified(2, QLatin1Char('0')), port);
}

void RadioCommands::verifyWrite(const AppState& written, bool skipGlobal, bool labels) {
    static const QString kTitle = QStringLiteral("Verify After Write");
    // What the write could change, as its masks and the radio's pages had it.
    const RadioReach reach = FileReach(*RadioLink(), skipGlobal, labels);
    QStringList differences;
    if (!readAndCompare(written, reach, QStringLiteral("Please Wait - Verifying Radio"), false,
                        differences)) {
        // The link has said what went wrong; this says what it means for the write.
        say(QStringLiteral("The read-back %1: the radio was not verified.")
                .arg(progress().Cancelled() ? QStringLiteral("was cancelled")
                                            : QStringLiteral("failed")),
            kTitle, MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    if (differences.isEmpty()) {
        say(QStringLiteral("Radio verified: it holds this image."), kTitle);
        return;
    }
    say(QStringLiteral("The radio does not hold this image: %1 difference(s), listed in the %2 "
                       "window.")
            .arg(differences.size())
            .arg(kTitle),
        kTitle, MsgButtons::Ok, MsgIcon::Exclamation);
    showComparison(differences, kTitle);
}

// ------------------------------------------------------------------ writes

void RadioCommands::mnuWriteAll_Click() {
    TransferGuard busy(w_);
    w_.StoreCurrentGroup();
    if (!confirmWrite()) return;
    const bool SkipGlobal = say(QStringLiteral("Write Global Parameters?"), QString(),
                                MsgButtons::YesNo) == MsgResult::No;
    const LabelDecision decision = PromptForLabels(true);
    if (decision == kCancelCommand) return;
    w_.mnuWriteCurrGroup_Click();
    if (!SkipGlobal) storeGlobalsWindow();
    clsTavCom* link = RadioLink();
    if (!link) return;
    backup(kWrite);
    const AppState written = state();
    progress().ShowForm(kWritingRadio, true);
    const bool ok = link->WriteEEMemory(SkipGlobal);
    progress().HideForm();
    if (!ok) return;
    const bool labelsWritten = decision != kWithLabels || writeAllLabels(false);
    const bool labelsSent = decision == kWithLabels && labelsWritten;
    // A changed-only write says how little it had to send, as tavctl does. The
    // link's label counts are those of its last label write, perhaps an older one.
    WriteTally sent = link->tally();
    if (decision != kWithLabels) sent.labelCharsWritten = sent.labelCharsConsidered = 0;
    const QString detail = changedOnly_ ? writeTallyLine(sent) : QString();
    if (labelsWritten)
        say(QStringLiteral("All groups written OK."), kWriteRadio, MsgButtons::Ok, MsgIcon::None,
            detail);
    else
        say(kLabelsNotWritten, kWriteRadio, MsgButtons::Ok, MsgIcon::Exclamation, detail);
    reportUnwrittenGroups(w_.prompter(), sent.unwrittenGroups);
    if (verifyAfterWrite_) verifyWrite(written, SkipGlobal, labelsSent);
}

void RadioCommands::mnuWriteGlobal_Click() {
    TransferGuard busy(w_);
    storeGlobalsWindow();
    if (!confirmWrite()) return;
    clsTavCom* link = RadioLink();
    if (!link) return;
    backup(kWrite);
    progress().ShowForm(kWritingRadio, true);
    if (!link->WriteEEGlobal() && !progress().Cancelled())
        say(QStringLiteral("Write Global Failed"));
    progress().HideForm();
}

void RadioCommands::mnuWriteGroup_Click() {
    TransferGuard busy(w_);
    w_.StoreCurrentGroup();
    if (!confirmWrite()) return;
    const LabelDecision decision = PromptForLabels(true);
    if (decision == kCancelCommand) return;
    w_.mnuWriteCurrGroup_Click();
    const int16_t group = typedGroupNumber();
    clsTavCom* link = group ? RadioLink() : nullptr;
    if (!link) return;
    backup(kWrite);
    progress().ShowForm(kWritingRadio, true);
    if (!link->WriteEEGroup(group) && !progress().Cancelled())
        say(QStringLiteral("Write Group Failed"));
    progress().HideForm();
    // The labels go even when the group did not: they are a transfer of their own.
    if (decision == kWithLabels) writeGroupLabels(false);
}

bool RadioCommands::confirmWrite() {
    return say(QStringLiteral("Are you sure you want to write to the radio?"), QString(),
               MsgButtons::OkCancel) == MsgResult::Ok;
}

// ------------------------------------------------------------------ labels

LabelDecision RadioCommands::PromptForLabels(bool isWrite) {
    if (w_.LabelPolicy < 2) return w_.LabelPolicy == 0 ? kWithLabels : kWithoutLabels;
    const QString question = isWrite ? QStringLiteral("Write Labels to Radio")
                                     : QStringLiteral("Read Labels from Radio");
    switch (
        say(question, QStringLiteral("TAV Editor"), MsgButtons::YesNoCancel, MsgIcon::Question)) {
        case MsgResult::Yes:
            return kWithLabels;
        case MsgResult::No:
            return kWithoutLabels;
        default:
            return kCancelCommand;
    }
}

void RadioCommands::SaveLabels() {
    LabelBackup = state().LabelImage;
}

void RadioCommands::RestoreLabels() {
    state().LabelImage = LabelBackup;
}

void RadioCommands::mnuLabelRdGroup_Click() {
    TransferGuard busy(w_);
    if (readGroupLabels()) backup(kRead);
}

void RadioCommands::mnuLabelRdRadio_Click() {
    TransferGuard busy(w_);
    if (readAllLabels()) backup(kRead);
}

void RadioCommands::mnuLabelWrtGroup_Click() {
    TransferGuard busy(w_);
    writeGroupLabels(true);
}

void RadioCommands::mnuLabelWrtRadio_Click() {
    TransferGuard busy(w_);
    writeAllLabels(true);
}

bool RadioCommands::readGroupLabels() {
    const int index = w_.cboCurrentGroup->currentIndex();
    w_.TargetGroup = static_cast<int16_t>(std::max(0, index));
    clsTavCom* link = RadioLink();
    if (!link) return false;
    SaveLabels();
    if (!link->Read_Labels(w_.TargetGroup)) {
        RestoreLabels();
        return false;
    }
    w_.showLabels(w_.TargetGroup);
    say(QStringLiteral("Group %1 labels read OK.").arg(GroupNumber::toUser(w_.TargetGroup)),
        kReadLabels);
    return true;
}

bool RadioCommands::readAllLabels() {
    clsTavCom* link = RadioLink();
    if (!link) return false;
    SaveLabels();
    if (!link->Read_Labels(-1)) {
        RestoreLabels();
        return false;
    }
    w_.intCurrentGroup = static_cast<int16_t>(w_.cboCurrentGroup->currentIndex());
    if (w_.intCurrentGroup >= 0) w_.showLabels(w_.intCurrentGroup);
    say(QStringLiteral("All labels read OK."), kReadLabels);
    return true;
}

void RadioCommands::storeTargetGroup() {
    w_.TargetGroup = static_cast<int16_t>(std::max(0, w_.cboCurrentGroup->currentIndex()));
    w_.storeGroup(w_.TargetGroup);
}

bool RadioCommands::writeGroupLabels(bool backupFirst) {
    storeTargetGroup();
    clsTavCom* link = RadioLink();
    if (!link) return false;
    if (backupFirst) backup(kWrite);
    if (!link->Write_Labels(w_.TargetGroup)) return false;
    say(QStringLiteral("Group %1 labels written OK.").arg(GroupNumber::toUser(w_.TargetGroup)),
        kWriteLabels);
    return true;
}

bool RadioCommands::writeAllLabels(bool backupFirst) {
    storeTargetGroup();
    clsTavCom* link = RadioLink();
    if (!link) return false;
    if (backupFirst) backup(kWrite);
    if (!link->Write_Labels(-1)) return false;
    say(QStringLiteral("All labels written OK."), kWriteLabels);
    return true;
}

// ------------------------------------------------------------------ helpers

int16_t RadioCommands::typedGroupNumber() {
    const double typed = grid::valueOf(w_.cboCurrentGroup->currentText());
    if (typed >= 1 && typed < kGroupCount + 1) return static_cast<int16_t>(typed);
    // Group 0 would be the global block: a text that names no group sends nothing.
    w_.clock().beep();
    return 0;
}

void RadioCommands::backup(const QString& kind) {
    QString path;
    const RadioFileResult saved = backups_.save(kind, state(), now(), &path);
    if (!saved.ok())
        w_.prompter().show(QStringLiteral("The automatic backup could not be saved."), QString(),
                           MsgButtons::Ok, MsgIcon::Exclamation,
                           QStringLiteral("%1: %2").arg(path, saved.description));
}

void RadioCommands::storeGlobalsWindow() {
    if (state().GlobalsWindowOpen && w_.hooks.storeGlobals) w_.hooks.storeGlobals();
}

void RadioCommands::redisplayGlobalsWindow() {
    if (state().GlobalsWindowOpen && w_.hooks.redisplayGlobals) w_.hooks.redisplayGlobals();
}

}  // namespace tav
