#include "ui/frmProc.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/WindowPlacement.h"

namespace tav {

frmProc::frmProc(QWidget* owner, Prompter& prompter)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      prompter_(prompter) {
    setObjectName(QStringLiteral("frmProc"));
    setWindowTitle(QStringLiteral("TAV Processing"));
    setModal(false);
    lblInfo = new QLabel(this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setAlignment(Qt::AlignCenter);
    lblInfo->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 36);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setAutoDefault(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 14);
    layout->setSpacing(14);
    layout->addWidget(lblInfo);
    layout->addWidget(CancelButton, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(CancelButton, &QPushButton::clicked, this, &frmProc::CancelButton_Click);
}

QString frmProc::cancelWriteQuestion() {
    return QStringLiteral(
        "Warning:\rCancelling a write operation may leave the radio in an unpredictable "
        "state.\rAre you sure you want to cancel?");
}

void frmProc::ShowForm(const QString& FormMsg, bool Wmd) {
    IsWriteOperation = Wmd;
    if (QWidget* owner = parentWidget()) {
        const int offset = twipsToScreenPixels(500);
        move(owner->frameGeometry().topLeft() + QPoint(offset, offset));
    }
    lblInfo->setText(FormMsg);
    CancelButton->setEnabled(false);
    Cancelled = false;
    show();
    raise();
}

void frmProc::EnableCancel() {
    Cancelled = false;
    CancelButton->setEnabled(true);
}

void frmProc::HideForm() {
    hide();
}

void frmProc::CancelButton_Click() {
    if (!CancelButton->isEnabled()) return;
    if (!IsWriteOperation) {
        Cancelled = true;
        return;
    }
    if (prompter_.show(cancelWriteQuestion(), QString(), MsgButtons::YesNo, MsgIcon::Question) ==
        MsgResult::Yes)
        Cancelled = true;
}

void frmProc::reject() {
    CancelButton_Click();
}

void frmProc::closeEvent(QCloseEvent* e) {
    // Only the transfer that opened the dialog may close it.
    e->ignore();
    CancelButton_Click();
}

void WindowProgress::setMinimum(int v) {
    if (bar_) bar_->setMinimum(v);
}
void WindowProgress::setMaximum(int v) {
    if (bar_) bar_->setMaximum(v);
}
void WindowProgress::setValue(int v) {
    if (bar_) bar_->setValue(v);
}
void WindowProgress::setVisible(bool visible) {
    if (bar_) bar_->setVisible(visible);
}
void WindowProgress::EnableCancel() {
    if (dialog_) dialog_->EnableCancel();
}
bool WindowProgress::Cancelled() const {
    return dialog_ && dialog_->Cancelled;
}
void WindowProgress::ShowForm(const QString& message, bool writeOperation) {
    if (dialog_) dialog_->ShowForm(message, writeOperation);
}
void WindowProgress::HideForm() {
    if (dialog_) dialog_->HideForm();
}

}  // namespace tav
