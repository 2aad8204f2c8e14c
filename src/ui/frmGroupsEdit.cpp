// Editing in the channel grid, and the Edit menu's commands: undo, copy and
// paste of rows, and the transmit offset entry.

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStatusBar>

#include "model/EntryRules.h"
#include "model/GridText.h"
#include "model/NumberText.h"
#include "ui/WindowInput.h"
#include "ui/frmGroups.h"

namespace tav {

namespace {

bool isModifier(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr || key == Qt::Key_CapsLock;
}

bool isNavigation(int key) {
    switch (key) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Backspace:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return true;
        default:
            return false;
    }
}

bool isEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The rule of what the radio can hold for an editable column.
EntryVerdict checkEntry(int column, const QString& text) {
    if (column == grid::RecFreq || column == grid::TxFreq) return CheckFrequencyEntry(text);
    if (column == grid::RecCG || column == grid::TxCG) return CheckGuardEntry(text);
    return CheckLabelEntry(text);
}

QString columnCaption(int column) {
    return grid::columnCaptions().at(column);
}

// A recorded cell's text as it goes back into its column.
QString restoredText(int column, const QString& text) {
    if (column == grid::ChLabel) return text;
    const auto v = grid::numericValue(text);
    return v ? grid::formatNumber(column, *v) : text;
}

}  // namespace

// ------------------------------------------------------------------ cells

int frmGroups::currentRow() const {
    const QModelIndex i = Grid->currentIndex();
    return i.isValid() ? i.row() : 0;
}

int frmGroups::currentColumn() const {
    const QModelIndex i = Grid->currentIndex();
    return i.isValid() ? i.column() : 0;
}

void frmGroups::setCurrentCell(int column, int row) {
    if (QAbstractItemModel* m = Grid->model()) Grid->setCurrentIndex(m->index(row, column));
}

QString frmGroups::cellText(int column, int row) const {
    return viewGrid_.cellText(column, row);
}

void frmGroups::setCell(int column, int row, const QString& text) {
    viewGrid_.setCellText(column, row, text);
    if (Grid->isEditing() && Grid->currentIndex().row() == row &&
        Grid->currentIndex().column() == column)
        Grid->activeEditor()->setText(text);
}

QString frmGroups::liveText() const {
    if (Grid->isEditing()) return Grid->activeEditor()->text();
    return cellText(currentColumn(), currentRow());
}

void frmGroups::putOldValueBack(int column, int row) {
    setCell(column, row, EditOldText);
}

bool frmGroups::settleCell(int column, int row, const QString& typed, const EntryVerdict& verdict,
                           const QString& old) {
    if (!verdict.ok) {
        setCell(column, row, old);
        refuseEntry(columnCaption(column), typed, verdict.reason);
        return false;
    }
    setCell(column, row, verdict.normalized);
    return true;
}

void frmGroups::refuseEntry(const QString& field, const QString& typed, const QString& reason) {
    services_.clock.beep();
    statusBar()->showMessage(RefusalText(field, typed, reason));
}

void frmGroups::entryAccepted() {
    statusBar()->clearMessage();
}

void frmGroups::copyColumn(int from, int to, int row) {
    setCell(to, row, cellText(from, row));
}

// ------------------------------------------------------------------ grid notifications

void frmGroups::recordOldValue(int column, int row) {
    EditCol = column;
    EditOldText = cellText(column, row);
    if (const auto v = grid::numericValue(EditOldText)) EditOldValue = *v;
}

bool frmGroups::BeforeColEdit(int column) {
    if (column == grid::Chan) return false;
    recordOldValue(column, currentRow());
    return true;
}

void frmGroups::AfterColEdit(int column) {
    if (column == grid::Chan) return;
    const int row = currentRow();
    const QString text = cellText(EditCol, row);
    if (column == grid::RecFreq || column == grid::TxFreq)
        if (const auto v = grid::numericValue(text)) return ValidateFrequency(*v, EditCol);
    // Whatever else reaches the cell (a channel guard, a label, a text pasted
    // into a frequency) is what the radio can hold, or the old value again.
    if (settleCell(EditCol, row, text, checkEntry(EditCol, text), EditOldText)) entryAccepted();
}

bool frmGroups::GridKeyDown(int key) {
    if (UndoArmed) {
        UndoCol = currentColumn();
        UndoRow = currentRow();
        UndoText = liveText();
        UndoArmed = false;
    }
    return key == Qt::Key_Home;
}

void frmGroups::GridKeyUp(int key) {
    // The keys act on the current cell: the column last edited may be
    // another row's or another column's, and its old value is not this
    // cell's. What a key types into a cell is stored only when the editor
    // closes, so the stored text is the cell's own value from before the key.
    if (key == Qt::Key_Home) setCurrentCell(grid::RecFreq, currentRow());
    const int c = currentColumn();
    const int row = currentRow();
    if (c == grid::TxFreq || c == grid::TxCG) {
        if (key == Qt::Key_C) {
            Grid->cancelEdit();
            copyColumn(c - 2, c, row);
            for (int r = 0; r < grid::kRows; ++r) {
                setCurrentCell(currentColumn(), r);
                copyColumn(c - 2, c, r);
            }
            setCurrentCell(0, 0);
            return;
        }
        if (key == Qt::Key_S) {
            Grid->cancelEdit();
            copyColumn(c - 2, c, row);
            return;
        }
    }
    if (c == grid::TxFreq && key == Qt::Key_Space) {
        Grid->cancelEdit();
        recordOldValue(c, row);  // what the offset entry puts back on a bad entry
        OpenOffset();
        return;
    }
    // Only what is being typed into a frequency cell is checked here: a
    // letter is refused at once, the texts that mean no frequency are not.
    if ((c == grid::RecFreq || c == grid::TxFreq) && Grid->isEditing() && !isNavigation(key) &&
        !isModifier(key)) {
        const QString text = liveText();
        const EntryVerdict verdict = CheckFrequencyEntry(text);
        if (!grid::numericValue(text) && !verdict.ok)
            settleCell(c, row, text, verdict, cellText(c, row));
    }
}

void frmGroups::GridClick() {
    UndoArmed = true;
}

void frmGroups::GridDblClick() {
    CopyAllRows();
}

void frmGroups::ValidateFrequency(double value, int column) {
    // 0 stands for no frequency and stays as typed.
    if (value == 0) return entryAccepted();
    const QString typed = ShortestDecimalText(value);
    if (settleCell(column, currentRow(), typed, CheckFrequencyEntry(typed), EditOldText))
        entryAccepted();
}

// ------------------------------------------------------------------ undo, copy, paste

void frmGroups::wireEditInput() {
    auto* input = new WindowInput(this, {mnuAll, mnuRow, mnuPaste, mnuUndo});
    connect(input, &WindowInput::pressed, Grid, &ChannelGridView::clearCopyMark);
    for (const CheckColumn* column : {&chkScan, &chkNarr, &chkLoPower})
        for (QCheckBox* box : *column)
            connect(box, &QCheckBox::toggled, Grid, &ChannelGridView::clearCopyMark);
}

void frmGroups::Undo() {
    const int c = UndoCol;
    if (c < grid::RecFreq || c > grid::ChLabel) return;
    Grid->cancelEdit();
    setCurrentCell(currentColumn(), UndoRow);
    setCell(c, UndoRow, restoredText(c, UndoText));
}

QString frmGroups::GetRowText(int row) {
    setCurrentCell(currentColumn(), row);
    grid::RowFields fields;
    for (int c = 0; c < grid::kColumns; ++c) fields.cells[c] = cellText(c, row);
    fields.scan = chkScan[row]->isChecked() ? 1 : 0;
    fields.narrow = chkNarr[row]->isChecked() ? 1 : 0;
    fields.loPower = chkLoPower[row]->isChecked() ? 1 : 0;
    return grid::rowText(fields);
}

void frmGroups::CopyAllRows() {
    Grid->finishEdit();
    QString text;
    for (int r = 0; r < grid::kRows; ++r) text += GetRowText(r);
    Grid->markCopied();
    CopiedLength = static_cast<int>(text.size());
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
    mnuPaste->setEnabled(true);
}

void frmGroups::CopyRow() {
    Grid->finishEdit();
    CopiedRow = true;
    CopiedAll = false;
    const QString text = GetRowText(currentRow());
    CopiedLength = static_cast<int>(text.size());
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
    mnuPaste->setEnabled(true);
}

bool frmGroups::pasteAvailable() const {
    const QString text = QGuiApplication::clipboard()->text();
    return text.size() == CopiedLength &&
           (grid::hasRowShape(text, 1) || grid::hasRowShape(text, grid::kRows));
}

void frmGroups::Paste() {
    const QString text = QGuiApplication::clipboard()->text();
    // Our own copies are known by their length and their shape; anything
    // else would scatter foreign text over the channels.
    if (!pasteAvailable()) {
        services_.prompter.show(QStringLiteral("No record has been selected to the clipboard"),
                                QString(), MsgButtons::Ok, MsgIcon::None);
        return;
    }
    Grid->cancelEdit();
    entryAccepted();  // what the paste refuses says so anew
    if (grid::hasRowShape(text, 1))
        PasteRow(text.left(text.size() - 1), currentRow());
    else
        PasteAllRows(text);
}

void frmGroups::PasteRow(const QString& text, int row) {
    const grid::RowFields fields = grid::splitRow(text);
    // The channel number (field 0) is never pasted; a field the radio cannot
    // hold leaves the cell as it was.
    for (int c = grid::RecFreq; c <= grid::ChLabel; ++c) {
        const QString text = grid::pastedCellText(c, fields.cells[c]);
        settleCell(c, row, text, checkEntry(c, text), cellText(c, row));
    }
    chkScan[row]->setChecked(fields.scan != 0);
    chkNarr[row]->setChecked(fields.narrow != 0);
    chkLoPower[row]->setChecked(fields.loPower != 0);
}

void frmGroups::PasteAllRows(const QString& text) {
    QString rest = text;
    for (int r = 0; r < grid::kRows; ++r) {
        const int end = static_cast<int>(rest.indexOf(QLatin1Char('\r')));
        const QString line = end < 0 ? rest : rest.left(end);
        setCurrentCell(currentColumn(), r);
        PasteRow(line, r);
        rest = end < 0 ? QString() : rest.mid(end + 1);
    }
    Grid->clearSelection();
    setCurrentCell(0, 0);
}

// ------------------------------------------------------------------ offset entry

void frmGroups::OpenOffset() {
    OffsetRow = currentRow();
    aniOrOffset_->setCurrentWidget(frmOffset);
    txtOffset->setText(LastOffset);
    txtOffset->selectAll();
    txtOffset->setFocus();
}

void frmGroups::txtOffset_KeyUp(int key) {
    const QString text = txtOffset->text();
    const bool partial =
        text == QLatin1String("-") || text == QLatin1String(".") || text == QLatin1String("-.");
    const bool bad = !grid::numericValue(text) && !isEnter(key) && !partial &&
                     key != Qt::Key_Left && key != Qt::Key_Right && !isModifier(key);
    if (bad) {
        refuseEntry(frmOffset->title(), text, QStringLiteral("not a frequency offset in MHz"));
        txtOffset->clear();
        putOldValueBack(EditCol, OffsetRow);
    } else if (isEnter(key)) {
        // Both the receive frequency and the result belong to the row the
        // entry was opened on, wherever the cursor went meanwhile.
        const double f = grid::valueOf(cellText(EditCol - 2, OffsetRow)) + grid::valueOf(text);
        setCurrentCell(EditCol, OffsetRow);
        setCell(EditCol, OffsetRow, ShortestDecimalText(f));
        ValidateFrequency(f, EditCol);
        LastOffset = text;
        aniOrOffset_->setCurrentWidget(fraANI);
        Grid->setFocus();
    } else if (isEnter(LastOffsetKey)) {
        txtOffset->setText(text.right(1));
    }
    if (key == Qt::Key_F1) helpScreen(1);
    LastOffsetKey = key;
}

// ------------------------------------------------------------------ controls

void frmGroups::controlsFromWidgets() {
    GroupControls& g = Controls;
    g.cboScan = cboScan->currentIndex();
    g.cboTOT = cboTOT->currentIndex();
    g.cboBCI = cboBCI->currentIndex();
    g.cboANI = cboANI->currentIndex();
    g.cboPri1Chan = cboPri1Chan->currentIndex();
    g.cboUCGChan = cboUCGChan->currentIndex();
    g.cboBlTimeout = cboBlTimeout->currentIndex();
    g.priMode = PriModeB->isChecked()   ? PriorityMode::B
                : PriModeC->isChecked() ? PriorityMode::C
                : PriModeD->isChecked() ? PriorityMode::D
                                        : PriorityMode::A;
    g.optBattSaveOff = optBattSaveOff->isChecked();
    g.optUCGEnabled = optUCGEnabled->isChecked();
    auto value = [](const QCheckBox* box) { return box->isChecked() ? 1 : 0; };
    g.chkPriKeyLock = value(chkPriKeyLock);
    g.chkENTCLRLock = value(chkENTCLRLock);
    g.chkUCGEncode = value(chkUCGEncode);
    g.chkAlphaEnabled = value(chkAlphaEnabled);
    g.chkBlKeypress = value(chkBlKeypress);
    g.chkBlOther = value(chkBlOther);
    g.chkBLScanState = value(chkBLScanState);
    g.chkBlChannel = value(chkBlChannel);
    g.txtID = txtID->text();
    g.txtGroupLabel = txtGroupLabel->text();
    for (int c = 0; c < kChannelsPerGroup; ++c) {
        g.chkScan[c] = value(chkScan[c]);
        g.chkNarr[c] = value(chkNarr[c]);
        g.chkLoPower[c] = value(chkLoPower[c]);
    }
}

void frmGroups::widgetsFromControls() {
    const GroupControls& g = Controls;
    cboScan->setCurrentIndex(g.cboScan);
    cboTOT->setCurrentIndex(g.cboTOT);
    cboBCI->setCurrentIndex(g.cboBCI);
    cboANI->setCurrentIndex(g.cboANI);
    cboPri1Chan->setCurrentIndex(g.cboPri1Chan);
    cboUCGChan->setCurrentIndex(g.cboUCGChan);
    cboBlTimeout->setCurrentIndex(g.cboBlTimeout);
    switch (g.priMode) {
        case PriorityMode::A:
            priModeA->setChecked(true);
            break;
        case PriorityMode::B:
            PriModeB->setChecked(true);
            break;
        case PriorityMode::C:
            PriModeC->setChecked(true);
            break;
        case PriorityMode::D:
            PriModeD->setChecked(true);
            break;
    }
    (g.optBattSaveOff ? optBattSaveOff : optBattSaveOn)->setChecked(true);
    (g.optUCGEnabled ? optUCGEnabled : optUCGDisabled)->setChecked(true);
    chkPriKeyLock->setChecked(g.chkPriKeyLock != 0);
    chkENTCLRLock->setChecked(g.chkENTCLRLock != 0);
    chkUCGEncode->setChecked(g.chkUCGEncode != 0);
    chkAlphaEnabled->setChecked(g.chkAlphaEnabled != 0);
    chkBlKeypress->setChecked(g.chkBlKeypress != 0);
    chkBlOther->setChecked(g.chkBlOther != 0);
    chkBLScanState->setChecked(g.chkBLScanState != 0);
    chkBlChannel->setChecked(g.chkBlChannel != 0);
    txtID->setText(g.txtID);
    txtGroupLabel->setText(g.txtGroupLabel);
    for (int c = 0; c < kChannelsPerGroup; ++c) {
        chkScan[c]->setChecked(g.chkScan[c] != 0);
        chkNarr[c]->setChecked(g.chkNarr[c] != 0);
        chkLoPower[c]->setChecked(g.chkLoPower[c] != 0);
    }
}

}  // namespace tav
