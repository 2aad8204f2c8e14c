#pragma once
// The unit data printout as a document: pages of lines, each line a run of
// texts placed at tab stops in one of four font styles. Building the document
// is kept apart from drawing it, so the same wording serves the printer, a PDF
// file and the command line's text dump.

#include <QString>
#include <QStringList>
#include <vector>

#include "model/AppState.h"

namespace tav {

enum class ReportStyle { Title, Heading, Body, BodyBold };

struct ReportPiece {
    int tab = 0;  // 1-based character column; 0 continues where the last piece ended
    QString text;
};

struct ReportLine {
    ReportStyle style = ReportStyle::Body;
    std::vector<ReportPiece> pieces;  // empty: an empty line
    QString plainText() const;        // pieces joined, tabs as spaces to their columns
};

using ReportPage = std::vector<ReportLine>;

struct UnitReport {
    std::vector<ReportPage> pages;
    QStringList plainLines() const;  // every line of every page, in order
};

// Builds the unit data printout from the images; printFileName is shown in the title.
UnitReport BuildUnitReport(const AppState& state, const QString& printFileName);

// Shortest plain decimal text of a value: "0", "187.5", "0.25", "375".
QString plainNumber(double value);

}  // namespace tav
