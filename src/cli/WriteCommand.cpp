#include "cli/WriteCommand.h"

#include "cli/Cli.h"
#include "cli/CliImage.h"
#include "cli/RadioSession.h"
#include "cli/VerifyCommand.h"

namespace tav::cli {

int runWrite(const CommandLine& cl) {
    const RadioOptions o = radioOptions(cl);
    RadioSession session(o);
    if (!session.ready()) return kFileError;
    if (!loadImageFile(o.verb, o.file, session.state())) return kFileError;
    const AppState written = session.state();
    clsTavCom& link = session.link();
    link.context().progress.ShowForm(QStringLiteral("Writing radio"), true);
    if (!link.WriteEEMemory(o.skipGlobal)) return kRadioFailure;
    if (o.labels && !link.Write_Labels(-1)) return kRadioFailure;
    return o.verify ? verifyWritten(session, written, o) : kOk;
}

}  // namespace tav::cli
