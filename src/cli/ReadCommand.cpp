#include "cli/ReadCommand.h"

#include "cli/Cli.h"
#include "cli/RadioSession.h"
#include "files/RadioFile.h"

namespace tav::cli {

bool readWholeRadio(RadioSession& session, bool labels) {
    clsTavCom& link = session.link();
    link.context().progress.ShowForm(QStringLiteral("Reading radio"), false);
    if (!link.ReadEEMemory()) return false;
    return !labels || link.Read_Labels(-1);
}

int runRead(const QStringList& args) {
    RadioOptions o;
    if (!parseRadioOptions(args, false, o)) return kUsage;
    RadioSession session(o);
    if (!session.ready()) return kFileError;
    if (!readWholeRadio(session, o.labels)) return kRadioFailure;
    // Nothing is saved unless the whole read worked: a file is always a whole radio.
    const RadioFileResult saved = WriteRadioFile(o.file, session.state());
    if (!saved.ok()) {
        complain("read", QStringLiteral("cannot write %1: %2").arg(o.file, saved.description));
        return kFileError;
    }
    return kOk;
}

}  // namespace tav::cli
