#pragma once
// tavctl verify --port DEVICE [--labels] [--retries N] [--trace FILE] ... FILE
//   Reads the radio as `tavctl read` does and lists how it differs from FILE,
//   line by line as `tavctl diff` does (file values first). Exit 0 when the
//   radio holds what the file holds, 4 when it differs, 1 when the radio
//   failed, 3 when the file cannot be read.
// `tavctl write --verify` reads the radio back after writing and compares the
// bits the write could change.

#include "model/AppState.h"

namespace tav::cli {

class CommandLine;
class RadioSession;
struct RadioOptions;

int runVerify(const CommandLine& cl);

// After a successful write of `written` (the file's image, taken before the
// write) through `session`: reads the radio back and compares what the write
// could change. Returns kOk, kDiffers, kRadioFailure or kFileError (the
// listing could not be written).
int verifyWritten(RadioSession& session, const AppState& written, const RadioOptions& o);

}  // namespace tav::cli
