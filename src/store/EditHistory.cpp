#include "store/EditHistory.h"

#include <QUndoCommand>

namespace tav {

// One change: the states before and after it. Both are shown in the group
// the change was made in.
class EditHistory::Step : public QUndoCommand {
public:
    Step(EditHistory& history, const EditorState& before, const EditorState& after,
         const QString& what)
        : QUndoCommand(what), history_(history), before_(before), after_(after) {
        before_.group = after.group;
    }
    void undo() override { history_.apply(before_); }
    void redo() override {
        // Pushing redoes at once; the change itself has already been made.
        if (pushed_) return void(pushed_ = false);
        history_.apply(after_);
    }

private:
    EditHistory& history_;
    EditorState before_, after_;
    bool pushed_ = true;
};

EditHistory::EditHistory(Capture capture, Show show, QObject* parent)
    : QObject(parent), capture_(std::move(capture)), show_(std::move(show)) {
    connect(&stack_, &QUndoStack::indexChanged, this, &EditHistory::changed);
    connect(&stack_, &QUndoStack::cleanChanged, this, &EditHistory::changed);
}

void EditHistory::startOver() {
    stack_.clear();
    barrier_ = 0;
    current_ = capture_();
    emit changed();
}

void EditHistory::markSaved() {
    current_ = capture_();
    stack_.setClean();
    emit changed();
}

void EditHistory::record(const QString& what) {
    if (depth_ > 0) return;
    const EditorState now = capture_();
    if (now.sameImages(current_)) {
        current_ = now;  // the shown group may have changed; the image has not
        emit changed();
        return;
    }
    const EditorState before = current_;
    current_ = now;
    stack_.push(new Step(*this, before, now, what));
}

void EditHistory::setBarrier() {
    barrier_ = stack_.index();
    emit changed();
}

bool EditHistory::canUndo() const {
    return stack_.index() > barrier_;
}

void EditHistory::undo() {
    if (canUndo()) stack_.undo();
}

void EditHistory::redo() {
    stack_.redo();
}

void EditHistory::apply(const EditorState& state) {
    show_(state);
    current_ = capture_();
}

EditHistory::Command::Command(EditHistory& history, QString what)
    : history_(history), what_(std::move(what)) {
    ++history_.depth_;
}

EditHistory::Command::~Command() {
    if (--history_.depth_ == 0) history_.record(what_);
}

}  // namespace tav
