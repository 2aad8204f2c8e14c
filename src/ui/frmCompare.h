#pragma once
// The differences between the editor's image and what was just read from the
// radio, in a window that stays open beside the editor: which file, which
// radio and when, how many differences each group has, then one line per
// difference. Copy puts the whole report on the clipboard, Save into a text file.

#include <QDialog>
#include <QStringList>
#include <functional>

#include "model/CompareReport.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tav {

class Prompter;

class frmCompare : public QDialog {
    Q_OBJECT

public:
    // `chooseSavePath` is the file dialog of Save (false when cancelled);
    // `prompter` says when the report could not be saved.
    frmCompare(Prompter& prompter, std::function<bool(QString& path)> chooseSavePath,
               QWidget* parent = nullptr);

    // Shows `differences`, or that there are none, under the header.
    void showComparison(const CompareHeader& header, const QStringList& differences);
    // The report as Copy and Save give it.
    QString reportText() const { return CompareReportText(header_, differences_); }

    QLabel* lblHeader = nullptr;
    QLabel* lblCounts = nullptr;
    QPlainTextEdit* txtDifferences = nullptr;
    QPushButton *cmdCopy = nullptr, *cmdSave = nullptr, *cmdClose = nullptr;

private:
    void copyReport();
    void saveReport();

    Prompter& prompter_;
    std::function<bool(QString& path)> chooseSavePath_;
    CompareHeader header_;
    QStringList differences_;
};

}  // namespace tav
