#include "ui/frmCompare.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Ports.h"
#include "files/FileOpenSave.h"
#include "files/RadioFile.h"

namespace tav {

namespace {

QPushButton* button(const QString& text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

frmCompare::frmCompare(Prompter& prompter, std::function<bool(QString& path)> chooseSavePath,
                       QWidget* parent)
    : QDialog(parent), prompter_(prompter), chooseSavePath_(std::move(chooseSavePath)) {
    setObjectName(QStringLiteral("frmCompare"));
    setWindowTitle(QStringLiteral("Compare with Radio"));
    // A window of its own with the usual frame, moved and sized as the user likes.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    setModal(false);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    lblHeader = new QLabel(this);
    lblHeader->setObjectName(QStringLiteral("lblHeader"));
    lblHeader->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblCounts = new QLabel(this);
    lblCounts->setObjectName(QStringLiteral("lblCounts"));
    lblCounts->setFont(fixed);
    txtDifferences = new QPlainTextEdit(this);
    txtDifferences->setObjectName(QStringLiteral("txtDifferences"));
    txtDifferences->setReadOnly(true);
    txtDifferences->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Values line up better in a fixed-pitch font.
    txtDifferences->setFont(fixed);
    cmdCopy = button(QStringLiteral("&Copy"), "cmdCopy", this);
    cmdSave = button(QStringLiteral("&Save..."), "cmdSave", this);
    cmdClose = button(QStringLiteral("Close"), "cmdClose", this);
    connect(cmdCopy, &QPushButton::clicked, this, &frmCompare::copyReport);
    connect(cmdSave, &QPushButton::clicked, this, &frmCompare::saveReport);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdCopy);
    buttons->addWidget(cmdSave);
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblHeader);
    layout->addWidget(lblCounts);
    layout->addWidget(txtDifferences, 1);
    layout->addLayout(buttons);
    resize(600, 420);
}

void frmCompare::showComparison(const CompareHeader& header, const QStringList& differences) {
    header_ = header;
    differences_ = differences;
    lblHeader->setText(CompareHeaderLines(header).join(QLatin1Char('\n')));
    lblCounts->setText(DifferenceCountLines(differences).join(QLatin1Char('\n')));
    txtDifferences->setPlainText(differences.isEmpty() ? NoDifferencesText()
                                                       : differences.join(QLatin1Char('\n')));
}

void frmCompare::copyReport() {
    QGuiApplication::clipboard()->setText(reportText());
}

void frmCompare::saveReport() {
    QString path;
    if (!chooseSavePath_ || !chooseSavePath_(path)) return;
    const RadioFileResult saved = SaveFileBytes(path, reportText().toUtf8());
    if (saved.ok()) return;
    const QString why = saved.status == RadioFileResult::NotAFile ? FileOpenSave::notAFileText()
                                                                  : saved.description;
    prompter_.show(QStringLiteral("The comparison could not be saved."), windowTitle(),
                   MsgButtons::Ok, MsgIcon::Exclamation, path + QStringLiteral(": ") + why);
}

}  // namespace tav
