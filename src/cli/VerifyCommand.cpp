#include "cli/VerifyCommand.h"

#include <algorithm>

#include "cli/Cli.h"
#include "cli/CliImage.h"
#include "cli/DiffCommand.h"
#include "cli/RadioSession.h"
#include "cli/ReadCommand.h"
#include "model/ImageDiff.h"
#include "radio/WriteReach.h"

namespace tav::cli {

namespace {

// Reads the radio into the session and compares it with `file`.
int readAndCompare(RadioSession& session, const AppState& file, RadioReach reach,
                   const QString& verb) {
    if (!readWholeRadio(session, reach.labels)) return kRadioFailure;
    reach.powerMask = session.state().PowerBlockPresent != 0;
    return printDifferences(verb, CompareWithRadio(file, session.state(), reach), kDiffers);
}

}  // namespace

int runVerify(const CommandLine& cl) {
    const RadioOptions o = radioOptions(cl);
    AppState file;
    if (!loadImageFile(o.verb, o.file, file)) return kFileError;
    RadioSession session(o);
    if (!session.ready()) return kFileError;
    RadioReach reach;
    reach.labels = o.labels;
    return readAndCompare(session, file, reach, o.verb);
}

int verifyWritten(RadioSession& session, const AppState& written, const RadioOptions& o) {
    // The bits the write was allowed to change, as the link's masks had them,
    // in every group page.
    RadioReach reach = FileReach(session.link(), o.skipGlobal, o.labels);
    AppState& s = session.state();
    // The write has told what the radio lacks; the read-back only compares.
    s.PerChanBandOn = s.PerChanPwrOn = false;
    return readAndCompare(session, written, reach, o.verb);
}

}  // namespace tav::cli
