#pragma once
// tavctl export-csv FILE [-o CSV]
//   One row per channel after a header row; to standard output without -o.
// tavctl import-csv FILE CSV -o OUT
//   FILE's image with the CSV rows applied, written to OUT. When a row is bad,
//   every bad row is listed with its line number, nothing is written, exit 3.

#include <QStringList>
#include <QTextStream>

namespace tav::cli {

int runExportCsv(const QStringList& args);
int runImportCsv(const QStringList& args);

}  // namespace tav::cli
