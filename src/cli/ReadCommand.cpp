#include "cli/ReadCommand.h"

#include "cli/Cli.h"
#include "cli/CliImage.h"
#include "cli/CommandLine.h"
#include "cli/RadioSession.h"

namespace tav::cli {

bool readWholeRadio(RadioSession& session, bool labels) {
    clsTavCom& link = session.link();
    link.context().progress.ShowForm(QStringLiteral("Reading radio"), false);
    if (!link.ReadEEMemory()) return false;
    return !labels || link.Read_Labels(-1);
}

int runRead(const CommandLine& cl) {
    const RadioOptions o = radioOptions(cl);
    RadioSession session(o);
    if (!session.ready()) return kFileError;
    if (!readWholeRadio(session, o.labels)) return kRadioFailure;
    // Nothing is saved unless the whole read worked: a file is always a whole radio.
    return saveImageFile(o.verb, o.file, session.state()) ? kOk : kFileError;
}

}  // namespace tav::cli
