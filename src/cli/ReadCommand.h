#pragma once
#include <QStringList>

namespace tav::cli {

// tavctl read --port DEVICE [--labels] [--retries N] [--trace FILE] -o FILE:
// reads the whole radio (and its labels) into a radio file.
int runRead(const QStringList& args);

}  // namespace tav::cli
