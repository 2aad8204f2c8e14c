#pragma once
// The progress dialog shown during radio transfers, and the Progress port that
// joins it with the main window's progress bar.

#include <QDialog>
#include <QPointer>
#include <QProgressBar>

#include "app/Ports.h"

class QLabel;
class QPushButton;

namespace tav {

class frmProc : public QDialog {
    Q_OBJECT

public:
    // `owner` is the window the dialog stays in front of and is placed by.
    frmProc(QWidget* owner, Prompter& prompter);

    void ShowForm(const QString& FormMsg, bool Wmd);
    void EnableCancel();
    void HideForm();
    bool Cancelled = false;
    bool IsWriteOperation = false;

    QLabel* lblInfo = nullptr;
    QPushButton* CancelButton = nullptr;

    // The question asked before a write is cancelled.
    static QString cancelWriteQuestion();

public slots:
    void CancelButton_Click();

protected:
    void reject() override;  // Escape and the close box act as Cancel
    void closeEvent(QCloseEvent* e) override;

private:
    Prompter& prompter_;
};

// The main window's bar plus the dialog, as the radio link sees them.
class WindowProgress : public Progress {
public:
    WindowProgress(QProgressBar* bar, frmProc* dialog) : bar_(bar), dialog_(dialog) {}
    void setMinimum(int v) override;
    void setMaximum(int v) override;
    void setValue(int v) override;
    void setVisible(bool visible) override;
    void EnableCancel() override;
    bool Cancelled() const override;
    void ShowForm(const QString& message, bool writeOperation) override;
    void HideForm() override;

private:
    QPointer<QProgressBar> bar_;
    QPointer<frmProc> dialog_;
};

}  // namespace tav
