#include "cli/VerifyCommand.h"

#include <QTextStream>
#include <algorithm>

#include "cli/Cli.h"
#include "cli/CliImage.h"
#include "cli/DiffCommand.h"
#include "cli/RadioSession.h"
#include "cli/ReadCommand.h"
#include "model/ImageDiff.h"

namespace tav::cli {

namespace {

// Reads the radio into the session and compares it with `file`.
int readAndCompare(RadioSession& session, const AppState& file, RadioReach reach,
                   QTextStream& out) {
    if (!readWholeRadio(session, reach.labels)) return kRadioFailure;
    reach.powerMask = session.state().PowerBlockPresent != 0;
    return printDifferences(CompareWithRadio(file, session.state(), reach), out) == kOk ? kOk
                                                                                        : kDiffers;
}

}  // namespace

int runVerify(const CommandLine& cl) {
    QTextStream out(stdout);
    const RadioOptions o = radioOptions(cl);
    AppState file;
    if (!loadImageFile(o.verb, o.file, file)) return kFileError;
    RadioSession session(o);
    if (!session.ready()) return kFileError;
    RadioReach reach;
    reach.labels = o.labels;
    return readAndCompare(session, file, reach, out);
}

int verifyWritten(RadioSession& session, const AppState& written, const RadioOptions& o) {
    QTextStream out(stdout);
    // The bits the write was allowed to change, as the link's masks had them,
    // in every group page: one the radio is not configured for was not sent,
    // and what the radio lacks of it is a difference like any other. Power
    // words the write put in such a page are compared as the power mask.
    RadioReach reach;
    reach.labels = o.labels;
    reach.eepromBits.assign(kEEPromSize, 0);
    AppState& s = session.state();
    // The write has told what the radio lacks; the read-back only compares.
    s.PerChanBandOn = s.PerChanPwrOn = false;
    for (int page = o.skipGlobal ? 1 : 0; page < kPageCount; ++page) {
        const auto& mask = page == 0 ? s.GlobalWriteMask : s.GroupWriteMask;
        std::copy(mask.begin(), mask.end(), reach.eepromBits.begin() + page * kPageSize);
    }
    // The narrow bits are the file's even where the radio has no place for
    // them (its masks then kept them out): one the radio does not hold is a difference.
    std::fill_n(reach.eepromBits.begin() + kBandwidthStart, kBandwidthCount, uint8_t{0xFF});
    for (int a = 0; a < kEEPromSize; ++a)
        if (session.link().putOutsidePages(a)) reach.eepromBits[a] = 0;
    return readAndCompare(session, written, reach, out);
}

}  // namespace tav::cli
