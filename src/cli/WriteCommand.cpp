#include "cli/WriteCommand.h"

#include <QTextStream>

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
    link.ChangedOnly = o.changedOnly;
    link.context().progress.ShowForm(QStringLiteral("Writing radio"), true);
    if (!link.WriteEEMemory(o.skipGlobal)) return kRadioFailure;
    if (o.labels && !link.Write_Labels(-1)) return kRadioFailure;
    if (!o.changedOnly) return o.verify ? verifyWritten(session, written, o) : kOk;
    // Every word and label character was read: the write has proved itself.
    const WriteTally& t = link.tally();
    QTextStream(stdout) << QStringLiteral(
                               "%1 of %2 words written, %3 of %4 label characters written\n")
                               .arg(t.wordsWritten)
                               .arg(t.wordsConsidered)
                               .arg(t.labelCharsWritten)
                               .arg(t.labelCharsConsidered);
    return kOk;
}

}  // namespace tav::cli
