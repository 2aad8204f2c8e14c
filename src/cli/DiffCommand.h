#pragma once
// tavctl diff A B
//   One line per difference, fields first, then bytes no field accounts for:
//     group 3 channel 5 Rx Freq: 155.12000 -> 155.13000
//     byte 0x009: 0x00 -> 0x12
//   Exit 0 when the files hold the same bytes, 1 when they differ, 3 when
//   one cannot be read.

#include <QStringList>
#include <QTextStream>

namespace tav::cli {

class CommandLine;

int runDiff(const CommandLine& cl);

// Exit status for a comparison's lines: 0 when there are none, else 1.
int printDifferences(const QStringList& lines, QTextStream& out);

}  // namespace tav::cli
