#pragma once

namespace tav::cli {

class CommandLine;
class RadioSession;

// tavctl read --port DEVICE [--labels] [--retries N] [--trace FILE] ... -o FILE:
// reads the whole radio (and its labels) into a radio file.
int runRead(const CommandLine& cl);

// Reads the whole radio into the session's image, and its labels when asked.
// False when the radio failed (the link has said why).
bool readWholeRadio(RadioSession& session, bool labels);

}  // namespace tav::cli
