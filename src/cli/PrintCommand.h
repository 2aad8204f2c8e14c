#pragma once

namespace tav::cli {

class CommandLine;

// tavctl print -o REPORT.pdf FILE
// Writes the unit data printout of a radio file as a PDF file. Drawing text
// needs a QGuiApplication (the offscreen platform will do).
int runPrint(const CommandLine& cl);

}  // namespace tav::cli
