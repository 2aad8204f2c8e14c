#pragma once
#include <QStringList>

namespace tav::cli {

// tavctl write --port DEVICE [--labels] [--skip-global] [--retries N] [--trace FILE] FILE:
// writes a radio file (and its labels) to the radio.
int runWrite(const QStringList& args);

}  // namespace tav::cli
