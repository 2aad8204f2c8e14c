#pragma once
// The channel grid: a table view that reports the notifications the main
// window's grid editing works from (before and after a cell edit, key down
// and up, click and double click), whether the key reaches the view or the
// open cell editor.

#include <QIdentityProxyModel>
#include <QLineEdit>
#include <QPointer>
#include <QTableView>

#include "model/ChannelGrid.h"

namespace tav {

class GridEvents {
public:
    virtual ~GridEvents() = default;
    // False refuses the edit.
    virtual bool BeforeColEdit(int column) = 0;
    virtual void AfterColEdit(int column) = 0;
    // True swallows the key.
    virtual bool GridKeyDown(int key) = 0;
    virtual void GridKeyUp(int key) = 0;
    virtual void GridClick() = 0;
    virtual void GridDblClick() = 0;
};

// Gives any channel table the grid's six column captions.
class GridCaptions : public QIdentityProxyModel {
    Q_OBJECT

public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
};

class ChannelGridView : public QTableView {
    Q_OBJECT

public:
    ChannelGridView(GridEvents& events, QWidget* parent = nullptr);

    // The cell editor while one is open.
    QLineEdit* activeEditor() const { return editor_.data(); }
    bool isEditing() const { return state() == EditingState && editor_; }
    // Closes the open editor without storing what was typed.
    void cancelEdit();
    // Stores what was typed and closes the editor.
    void finishEdit();
    // Heading plus 14 rows, each row as tall as the font needs.
    void fitRows();
    void setModel(QAbstractItemModel* model) override;

public slots:
    // Every cell highlighted as the sign of what Copy All took. The highlight
    // goes when the user goes on: at the next click, when a cell editor opens
    // or a cell changes, and with any other change of the selection.
    void markCopied();
    void clearCopyMark();

signals:
    void geometryChangedForRows();

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;

private:
    friend class GridEditorDelegate;
    void editorCreated(QLineEdit* editor);
    // The channel-guard columns' editors offer the standard codes as they are typed.
    void offerGuardCodes(QLineEdit* editor);
    // A key that reached the open pick list; true when it was dealt with here.
    bool pickListKey(QKeyEvent* e);

    GridEvents& events_;
    QPointer<QLineEdit> editor_;
    QPointer<QWidget> pickList_;
    bool copyMark_ = false;
};

// Cell access for the codecs through the view's model.
class ViewGrid : public ChannelGrid {
public:
    void attach(QTableView* view) { view_ = view; }
    QString cellText(int column, int row) const override;
    void setCellText(int column, int row, const QString& text) override;
    void setCurrentCell(int column, int row) override;

private:
    QTableView* view_ = nullptr;
};

}  // namespace tav
