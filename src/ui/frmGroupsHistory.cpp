// Undo and redo across the editor's changes, the modified mark in the
// caption, and the channel row commands.

#include <QComboBox>
#include <QItemSelectionModel>
#include <algorithm>

#include "store/ChannelRows.h"
#include "ui/frmGroups.h"

namespace tav {

namespace {
const QString kInsertTitle = QStringLiteral("Insert Channel");
}

void frmGroups::makeHistory() {
    history_ = std::make_unique<EditHistory>([this] { return editorState(); },
                                             [this](const EditorState& s) { showEditorState(s); });
    connect(history_.get(), &EditHistory::changed, this, &frmGroups::updateHistoryItems);
    connect(this, &frmGroups::fieldEdited, this,
            [this] { history_->record(QStringLiteral("Edit")); });
}

EditorState frmGroups::editorState() {
    controlsFromWidgets();
    return CaptureEditorState(state(), Controls, viewGrid_, intCurrentGroup);
}

void frmGroups::showEditorState(const EditorState& s) {
    if (s.group < 0 || s.group >= kGroupCount) return;
    Grid->cancelEdit();
    const bool sameGroup = s.group == intCurrentGroup;
    controlsFromWidgets();
    std::array<ChannelRow, kChannelsPerGroup> shown;
    ChannelRows rows(viewGrid_, Controls);
    for (int r = 0; r < kChannelsPerGroup; ++r) shown[std::size_t(r)] = rows.row(r);
    const bool globalsChange =
        !std::equal(s.EEImage.begin(), s.EEImage.begin() + kPageSize, state().EEImage.begin());
    RestoreEditorImages(s, state());
    if (cboCurrentGroup->currentIndex() != s.group) {
        QSignalBlocker quiet(cboCurrentGroup);
        cboCurrentGroup->setCurrentIndex(s.group);
    }
    intCurrentGroup = s.group;
    showGroup(s.group);
    if (globalsChange && state().GlobalsWindowOpen) redisplayGlobals();
    if (!sameGroup) return;
    // Like the one-cell Undo, the cursor goes to the row that changed.
    for (int r = 0; r < kChannelsPerGroup; ++r)
        if (rows.row(r) != shown[std::size_t(r)]) return setCurrentCell(currentColumn(), r);
}

void frmGroups::updateHistoryItems() {
    // A radio command disables the menu while it runs and restores it after.
    if (!transferRunning()) {
        mnuUndo->setEnabled(history_->canUndo());
        mnuRedo->setEnabled(history_->canRedo());
    }
    setWindowModified(history_->isModified());
}

void frmGroups::imageMatchesFile(bool opened) {
    if (opened)
        history_->startOver();
    else
        history_->markSaved();
}

void frmGroups::Undo() {
    Grid->cancelEdit();
    history_->undo();
}

void frmGroups::Redo() {
    Grid->cancelEdit();
    history_->redo();
}

// ------------------------------------------------------------------ rows

void frmGroups::changeRows(const std::function<void(ChannelRows&)>& change) {
    Grid->finishEdit();
    controlsFromWidgets();
    {
        const auto batch = tableBatch();
        ChannelRows rows(viewGrid_, Controls);
        change(rows);
    }
    widgetsFromControls();
}

void frmGroups::ClearChannel() {
    const int row = currentRow();
    changeRows([row](ChannelRows& rows) { rows.clear(row); });
}

void frmGroups::InsertChannel() {
    Grid->finishEdit();
    controlsFromWidgets();
    const int last = kChannelsPerGroup;
    if (ChannelRows(viewGrid_, Controls).holdsData(last - 1) &&
        prompter().show(QStringLiteral("Channel %1 holds data, which goes when the channels "
                                       "move down. Insert a channel?")
                            .arg(last),
                        kInsertTitle, MsgButtons::YesNo, MsgIcon::Question) != MsgResult::Yes)
        return;
    const int row = currentRow();
    changeRows([row](ChannelRows& rows) { rows.insertAt(row); });
}

void frmGroups::DeleteChannel() {
    const int row = currentRow();
    changeRows([row](ChannelRows& rows) { rows.removeAt(row); });
}

void frmGroups::FillDown() {
    QList<int> selected;
    for (const QModelIndex& i : Grid->selectionModel()->selectedIndexes())
        if (!selected.contains(i.row())) selected << i.row();
    std::sort(selected.begin(), selected.end());
    // Selected with Shift and the arrows, the rows end at the current one:
    // then the top of the selection is the channel to copy.
    const int current = currentRow();
    const bool rowsBelow = !selected.isEmpty() && selected.last() > current;
    const int source = rowsBelow || selected.isEmpty() ? current : selected.first();
    if (selected.isEmpty() || selected.last() <= source) return clock().beep();
    changeRows([source, selected](ChannelRows& rows) { rows.fillDown(source, selected); });
}

}  // namespace tav
