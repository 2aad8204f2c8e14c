#pragma once

namespace tav::cli {

class CommandLine;

// tavctl sim [--image FILE] [--id 0xNN] [--timing] [--fault LIST] [--dump-on-exit FILE]
// Serves the virtual radio on a pseudo-terminal until SIGTERM or SIGINT; the
// device path is the first line on standard output. When the serving ends for
// another reason, says why and exits 1.
int runSim(const CommandLine& cl);

}  // namespace tav::cli
