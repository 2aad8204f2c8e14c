#include "ui/frmCompare.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tav {

frmCompare::frmCompare(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmCompare"));
    setWindowTitle(QStringLiteral("Compare with Radio"));
    setModal(false);
    txtDifferences = new QPlainTextEdit(this);
    txtDifferences->setObjectName(QStringLiteral("txtDifferences"));
    txtDifferences->setReadOnly(true);
    txtDifferences->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Values line up better in a fixed-pitch font.
    txtDifferences->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtDifferences);
    layout->addLayout(buttons);
    resize(560, 360);
}

void frmCompare::showDifferences(const QStringList& differences) {
    txtDifferences->setPlainText(differences.isEmpty()
                                     ? QStringLiteral("The radio holds what the editor shows.")
                                     : differences.join(QLatin1Char('\n')));
}

}  // namespace tav
