#pragma once
// The differences between the editor's image and what was just read from the
// radio, one per line, in a small window that stays open beside the editor.

#include <QDialog>
#include <QStringList>

class QPlainTextEdit;
class QPushButton;

namespace tav {

class frmCompare : public QDialog {
    Q_OBJECT

public:
    explicit frmCompare(QWidget* parent = nullptr);

    // Shows `differences`, or that there are none.
    void showDifferences(const QStringList& differences);

    QPlainTextEdit* txtDifferences = nullptr;
    QPushButton* cmdClose = nullptr;
};

}  // namespace tav
