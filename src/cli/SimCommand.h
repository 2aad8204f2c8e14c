#pragma once
#include <QStringList>

namespace tav::cli {

// tavctl sim [--image FILE] [--id 0xNN] [--timing] [--fault LIST]
// Serves the virtual radio on a pseudo-terminal until SIGTERM or SIGINT; the
// device path is the first line on standard output.
int runSim(const QStringList& args);

}  // namespace tav::cli
