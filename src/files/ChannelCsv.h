#pragma once
// Channels as comma-separated text, one row per channel after a header row:
//
//   Group,Channel,Rx Freq,Rx CG,Tx Freq,Tx CG,Label,Scan,Narrow,Low Power
//
// Values are the texts the channel grid shows; the three flags are "1" or
// "0". Low Power is the window's check box (1 = low power, the radio's power
// bit clear); group 15 has no power setting and exports it empty.
//
// An import starts from the image it is given and changes it only through
// the channel codec, one field at a time: a value equal to what the image
// already shows is left alone, so exporting and importing gives back the
// very same bytes, even where the image holds values the grid could not
// produce. Changed values are checked as the grid checks typed input; when
// any row is bad, nothing is changed and every bad row is listed.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "files/RadioFile.h"
#include "model/AppState.h"

namespace tav {

// The column names, in the order an export writes them.
QStringList ChannelCsvColumns();

// The whole table as UTF-8 text with CRLF line ends.
QByteArray ExportChannelCsv(const AppState& state);

// Writes the table to `path` as radio files are saved: only over a regular
// file or as a new one, through a temporary file.
RadioFileResult ExportChannelCsvFile(const AppState& state, const QString& path);

struct CsvImportResult {
    QStringList errors;     // "line N: ..." for every problem; empty when imported
    int rows = 0;           // channel rows read
    int changedFields = 0;  // channel fields whose value the import changed
    bool ok() const { return errors.isEmpty(); }
};

// Columns are matched by their header names (any order, any case); a column
// left out keeps the image's values for every row. Quoting as RFC 4180 has
// it. Flags accept "", "0", "1", "Y", "N" and the printout's letter of the
// column ("S", "N", "L"); "N" in the Narrow column is refused as ambiguous.
// `state` is changed only when the result is ok().
CsvImportResult ImportChannelCsv(AppState& state, const QByteArray& csv);

// As above, reading the CSV text from a file first.
CsvImportResult ImportChannelCsvFile(AppState& state, const QString& path);

}  // namespace tav
