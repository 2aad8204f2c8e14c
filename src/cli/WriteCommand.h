#pragma once

namespace tav::cli {

class CommandLine;

// tavctl write --port DEVICE [--labels] [--skip-global] [--verify] ... FILE:
// writes a radio file (and its labels) to the radio.
int runWrite(const CommandLine& cl);

}  // namespace tav::cli
