#include "cli/WriteCommand.h"

#include "cli/Cli.h"
#include "cli/CliImage.h"
#include "cli/CommandLine.h"
#include "cli/RadioSession.h"
#include "cli/VerifyCommand.h"
#include "radio/WriteReport.h"

namespace tav::cli {

int runWrite(const CommandLine& cl) {
    const RadioOptions o = radioOptions(cl);
    RadioSession session(o);
    if (!session.ready()) return kFileError;
    if (!loadImageFile(o.verb, o.file, session.state())) return kFileError;
    const AppState written = session.state();
    clsTavCom& link = session.link();
    link.ChangedOnly = o.changedOnly;
    link.context().progress.ShowForm(QStringLiteral("Writing radio"), true);
    if (!link.WriteEEMemory(o.skipGlobal)) return kRadioFailure;
    reportUnwrittenGroups(link.context().prompter, link.tally().unwrittenGroups);
    if (o.labels && !link.Write_Labels(-1)) return kRadioFailure;
    const bool told = !o.changedOnly || printLines(o.verb, {writeTallyLine(link.tally())});
    // A changed-only write read every word and label character it covers and
    // has proved itself, but for the groups it left out.
    const bool check = o.verify && (!o.changedOnly || !link.tally().unwrittenGroups.empty());
    const int verified = check ? verifyWritten(session, written, o) : kOk;
    return verified == kOk && !told ? kFileError : verified;
}

}  // namespace tav::cli
