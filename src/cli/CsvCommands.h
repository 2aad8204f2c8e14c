#pragma once
// tavctl export-csv [-o CSV] FILE
//   One row per channel after a header row; to standard output without -o.
// tavctl import-csv -o OUT FILE CSV
//   FILE's image with the CSV rows applied, written to OUT. When a row is bad,
//   every bad row is listed with its line number, nothing is written, exit 3.

namespace tav::cli {

class CommandLine;

int runExportCsv(const CommandLine& cl);
int runImportCsv(const CommandLine& cl);

}  // namespace tav::cli
