#include "ui/ChannelGridView.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyledItemDelegate>

#include "model/GridText.h"
#include "model/GuardCodes.h"

namespace tav {

QVariant GridCaptions::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < grid::kColumns)
        return grid::columnCaptions().at(section);
    return QIdentityProxyModel::headerData(section, orientation, role);
}

QVariant GridCaptions::data(const QModelIndex& index, int role) const {
    if (role == Qt::TextAlignmentRole)
        return index.column() == grid::ChLabel ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                               : QVariant(Qt::AlignCenter);
    return QIdentityProxyModel::data(index, role);
}

class GridEditorDelegate : public QStyledItemDelegate {
public:
    GridEditorDelegate(ChannelGridView* view) : QStyledItemDelegate(view), view_(view) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* w = QStyledItemDelegate::createEditor(parent, option, index);
        auto* line = qobject_cast<QLineEdit*>(w);
        if (!line) return w;
        view_->editorCreated(line);
        if (index.column() == grid::RecCG || index.column() == grid::TxCG)
            view_->offerGuardCodes(line);
        return w;
    }

private:
    ChannelGridView* view_;
};

ChannelGridView::ChannelGridView(GridEvents& events, QWidget* parent)
    : QTableView(parent), events_(events) {
    setItemDelegate(new GridEditorDelegate(this));
    setEditTriggers(AnyKeyPressed | EditKeyPressed | SelectedClicked);
    setSelectionMode(ContiguousSelection);
    setSelectionBehavior(SelectItems);
    // Tab leaves the grid for the check boxes beside it (Shift+Tab for the
    // fields above); the arrow keys move from cell to cell.
    setTabKeyNavigation(false);
    setWordWrap(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    connect(verticalHeader(), &QHeaderView::sectionResized, this,
            &ChannelGridView::geometryChangedForRows);
}

void ChannelGridView::fitRows() {
    const int rowHeight = fontMetrics().height() + 8;
    verticalHeader()->setMinimumSectionSize(rowHeight);
    verticalHeader()->setDefaultSectionSize(rowHeight);
    const int header = horizontalHeader()->sizeHint().height();
    setFixedHeight(header + grid::kRows * rowHeight + 2 * frameWidth());
    emit geometryChangedForRows();
}

void ChannelGridView::setModel(QAbstractItemModel* model) {
    if (QAbstractItemModel* old = this->model())
        disconnect(old, &QAbstractItemModel::dataChanged, this, &ChannelGridView::clearCopyMark);
    QTableView::setModel(model);
    if (model)
        connect(model, &QAbstractItemModel::dataChanged, this, &ChannelGridView::clearCopyMark);
}

void ChannelGridView::markCopied() {
    selectAll();
    copyMark_ = true;
}

void ChannelGridView::clearCopyMark() {
    if (!copyMark_) return;
    copyMark_ = false;
    clearSelection();
}

void ChannelGridView::selectionChanged(const QItemSelection& selected,
                                       const QItemSelection& deselected) {
    QTableView::selectionChanged(selected, deselected);
    copyMark_ = false;  // the user's own selection now
}

void ChannelGridView::cancelEdit() {
    if (editor_) closeEditor(editor_, QAbstractItemDelegate::NoHint);
}

void ChannelGridView::finishEdit() {
    if (!editor_) return;
    QPointer<QLineEdit> editor = editor_;
    commitData(editor);
    if (editor) closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool ChannelGridView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    const bool opens = state() != EditingState && index.isValid() &&
                       (trigger == AllEditTriggers || (editTriggers() & trigger));
    if (opens) clearCopyMark();
    if (opens && !events_.BeforeColEdit(index.column())) return false;
    return QTableView::edit(index, trigger, event);
}

void ChannelGridView::commitData(QWidget* editor) {
    QTableView::commitData(editor);
    events_.AfterColEdit(currentIndex().column());
}

void ChannelGridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (editor == editor_) editor_ = nullptr;
    // Tab in a cell editor ends the entry and leaves the grid, as Tab does
    // without an editor, instead of opening the next cell.
    const bool next = hint == QAbstractItemDelegate::EditNextItem;
    const bool leaving = next || hint == QAbstractItemDelegate::EditPreviousItem;
    QTableView::closeEditor(editor, leaving ? QAbstractItemDelegate::NoHint : hint);
    if (leaving) focusNextPrevChild(next);
}

void ChannelGridView::editorCreated(QLineEdit* editor) {
    editor_ = editor;
    editor->installEventFilter(this);
}

void ChannelGridView::offerGuardCodes(QLineEdit* editor) {
    auto* completer = new QCompleter(StandardGuardCodes(), editor);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    // "67" finds 067.0 as well as 167.9; "d02" the codes that begin so.
    completer->setFilterMode(Qt::MatchContains);
    editor->setCompleter(completer);
    pickList_ = completer->popup();
    // Installed after the completer's own filter, so it sees the list's keys first.
    pickList_->installEventFilter(this);
}

bool ChannelGridView::pickListKey(QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            return false;  // moving in the list
        case Qt::Key_Escape:
            if (e->type() == QEvent::KeyPress) pickList_->hide();
            return true;  // closes the list; the cell editor stays open
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (e->type() == QEvent::KeyPress) {
                const QModelIndex picked =
                    static_cast<QAbstractItemView*>(pickList_.data())->currentIndex();
                if (picked.isValid()) editor_->setText(picked.data().toString());
                pickList_->hide();
            }
            break;
        default:
            break;
    }
    // Every other key goes to the cell editor along its usual path, so the
    // grid's key rules and the end of the entry work while the list is open.
    QCoreApplication::sendEvent(editor_, e);
    return true;
}

void ChannelGridView::keyPressEvent(QKeyEvent* e) {
    if (events_.GridKeyDown(e->key())) return;
    // Plain Tab never comes here; Ctrl+Tab leaves the grid the same way.
    if (e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab) {
        focusNextPrevChild(e->key() == Qt::Key_Tab && !(e->modifiers() & Qt::ShiftModifier));
        return;
    }
    QTableView::keyPressEvent(e);
}

namespace {
// Keys held with Ctrl or Alt are shortcuts, not typing.
bool typed(const QKeyEvent* e) {
    return !e->isAutoRepeat() && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}
}  // namespace

void ChannelGridView::keyReleaseEvent(QKeyEvent* e) {
    QTableView::keyReleaseEvent(e);
    if (typed(e)) events_.GridKeyUp(e->key());
}

bool ChannelGridView::eventFilter(QObject* watched, QEvent* e) {
    const bool key = e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease;
    if (key && watched == pickList_ && editor_) return pickListKey(static_cast<QKeyEvent*>(e));
    if (watched == editor_ && e->type() == QEvent::KeyPress) {
        if (events_.GridKeyDown(static_cast<QKeyEvent*>(e)->key())) return true;
    } else if (watched == editor_ && e->type() == QEvent::KeyRelease) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (typed(k)) events_.GridKeyUp(k->key());
        return true;
    }
    return QTableView::eventFilter(watched, e);
}

void ChannelGridView::mousePressEvent(QMouseEvent* e) {
    QTableView::mousePressEvent(e);
    events_.GridClick();
}

void ChannelGridView::mouseDoubleClickEvent(QMouseEvent* e) {
    QTableView::mouseDoubleClickEvent(e);
    events_.GridDblClick();
}

void ChannelGridView::resizeEvent(QResizeEvent* e) {
    QTableView::resizeEvent(e);
    emit geometryChangedForRows();
}

void ChannelGridView::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, dy);
    emit geometryChangedForRows();
}

QString ViewGrid::cellText(int column, int row) const {
    const QAbstractItemModel* m = view_ ? view_->model() : nullptr;
    return m ? m->index(row, column).data(Qt::EditRole).toString() : QString();
}

void ViewGrid::setCellText(int column, int row, const QString& text) {
    if (QAbstractItemModel* m = view_ ? view_->model() : nullptr)
        m->setData(m->index(row, column), text, Qt::EditRole);
}

void ViewGrid::setCurrentCell(int column, int row) {
    QAbstractItemModel* m = view_ ? view_->model() : nullptr;
    if (m && view_->selectionModel())
        view_->selectionModel()->setCurrentIndex(m->index(row, column),
                                                 QItemSelectionModel::NoUpdate);
}

}  // namespace tav
