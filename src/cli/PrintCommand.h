#pragma once
#include <QStringList>

namespace tav::cli {

// tavctl print FILE -o REPORT.pdf
// Writes the unit data printout of a radio file as a PDF file. Drawing text
// needs a QGuiApplication (the offscreen platform will do).
int runPrint(const QStringList& args);

}  // namespace tav::cli
