#pragma once
// A comparison of the editor's image with a radio as a technician keeps it:
// which file, which radio and when, how many differences fall on the unit and
// on each group, then the differences themselves as CompareImages lists them.

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace tav {

struct CompareHeader {
    QString file;   // the radio file's path; empty for an image never saved or opened
    QString radio;  // the radio as the link identified it
    QDateTime when;
};

// What a comparison without differences says.
QString NoDifferencesText();
// "File: …" (or "(unsaved image)"), "Radio: …", "Date: yyyy-MM-dd hh:mm:ss".
QStringList CompareHeaderLines(const CompareHeader& header);
// "Differences: N", then one line per place that has any, in the listing's
// order: "  unit: 1", "  group 3: 2", and "  bytes outside the fields: 1" for
// the byte lines.
QStringList DifferenceCountLines(const QStringList& differences);
// The whole report, each line ended by a newline: the header, the counts, a
// blank line, and the differences (or that there are none).
QString CompareReportText(const CompareHeader& header, const QStringList& differences);

}  // namespace tav
