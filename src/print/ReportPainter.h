#pragma once
// Draws the unit data printout onto any paged device: a QPrinter for paper,
// a QPdfWriter for a PDF file. Tab stops are character columns of the current
// font's average character width, measured from the left margin.

#include <QByteArray>
#include <QMarginsF>
#include <QString>

#include "print/UnitReport.h"

class QPagedPaintDevice;

namespace tav {

// Margins of the printout, in millimetres: narrow enough for the longest
// line of the unit block on A4 paper, wide enough for any printer.
QMarginsF ReportMarginsMm();

// Draws every page; false when the device could not be painted on.
bool PaintUnitReport(const UnitReport& report, QPagedPaintDevice& device);

// The report as a PDF document (A4 or Letter by the user's locale); empty
// when it could not be drawn. Saved as any whole file is (SaveFileBytes), so
// that a device node or a folder at the path is refused, not replaced.
QByteArray UnitReportPdf(const UnitReport& report);

}  // namespace tav
