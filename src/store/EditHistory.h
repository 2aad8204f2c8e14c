#pragma once
// Undo and redo for the editor: each change of the image made in the editor
// is one step that keeps the editor's state before and after it. The window
// says when a change may have happened (record) and how to capture and show
// a state; the history keeps the steps, knows what can be undone and redone,
// and whether the image still matches the last file saved or opened.
//
// Steps are never merged: every cell edit, check box or command is one step.
// A group switch is a barrier: Undo does not reach back past it, so it does
// nothing after a switch until something is changed in the group now shown.

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <functional>

#include "store/EditorState.h"

namespace tav {

class EditHistory : public QObject {
    Q_OBJECT

public:
    using Capture = std::function<EditorState()>;
    using Show = std::function<void(const EditorState&)>;

    // `capture` takes the editor's state as it is; `show` puts a state back
    // into the editor and shows it.
    EditHistory(Capture capture, Show show, QObject* parent = nullptr);

    // The state now is where the history starts: nothing to undo or redo,
    // nothing unsaved (start-up, a file opened).
    void startOver();
    // The image now matches the file just saved.
    void markSaved();
    // One step named `what` when the images differ from the last state
    // recorded; nothing while a command runs (its end records).
    void record(const QString& what);
    // Undo stops here until the next step (the shown group was switched).
    void setBarrier();

    bool canUndo() const;
    bool canRedo() const { return stack_.canRedo(); }
    void undo();
    void redo();
    // Whether the image differs from the last file saved or opened.
    bool isModified() const { return !stack_.isClean(); }
    int steps() const { return stack_.index(); }

    // While one lives, changes wait and become one step at its end.
    class Command {
    public:
        Command(EditHistory& history, QString what);
        ~Command();
        Command(const Command&) = delete;
        Command& operator=(const Command&) = delete;

    private:
        EditHistory& history_;
        QString what_;
    };

signals:
    // What can be undone or redone, or whether the image is modified, may
    // have changed.
    void changed();

private:
    class Step;
    // Shows a state and makes it the one the next change starts from.
    void apply(const EditorState& state);

    Capture capture_;
    Show show_;
    QUndoStack stack_;
    EditorState current_;
    int depth_ = 0;    // commands running
    int barrier_ = 0;  // the stack index Undo does not go below
};

}  // namespace tav
