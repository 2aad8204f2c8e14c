#pragma once
// tavctl diff A B
//   One line per difference, fields first, then bytes no field accounts for:
//     group 3 channel 5 Rx Freq: 155.12000 -> 155.13000
//     byte 0x009: 0x00 -> 0x12
//   Exit 0 when the files hold the same bytes, 1 when they differ, 3 when
//   one cannot be read.

#include <QStringList>

namespace tav::cli {

class CommandLine;

int runDiff(const CommandLine& cl);

// Prints a comparison's lines as `verb`; the exit status: 0 when there are
// none, else `differs`, or 3 when they could not be written.
int printDifferences(const QString& verb, const QStringList& lines, int differs);

}  // namespace tav::cli
