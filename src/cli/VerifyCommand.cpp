#include "cli/VerifyCommand.h"
#include "cli/Usage.h"

#include <QTextStream>

#include "cli/Cli.h"
#include "cli/CliImage.h"
#include "cli/DiffCommand.h"
#include "cli/RadioSession.h"
#include "cli/ReadCommand.h"
#include "model/ImageDiff.h"

namespace tav::cli {

namespace {

const QString kVerifyUsage = verbSynopsis("verify");

bool parseVerify(QStringList args, RadioOptions& o, QTextStream& err) {
    QString retries;
    if (!takeOption(args, {QStringLiteral("--port")}, o.port, err) ||
        !takeOption(args, {QStringLiteral("--retries")}, retries, err) ||
        !takeOption(args, {QStringLiteral("--trace")}, o.trace, err))
        return false;
    o.labels = takeFlag(args, QStringLiteral("--labels"));
    if (!expectOperands(args, 1, kVerifyUsage, err)) return false;
    bool ok = true;
    if (!retries.isEmpty()) o.retries = retries.toInt(&ok);
    if (!ok || o.retries < 0) {
        err << "tavctl: --retries needs a count from 0\nusage: " << kVerifyUsage << '\n';
        return false;
    }
    if (o.port.isEmpty()) {
        err << "tavctl: --port is required\nusage: " << kVerifyUsage << '\n';
        return false;
    }
    o.file = args[0];
    return true;
}

// Reads the radio into the session and compares it with `file`.
int readAndCompare(RadioSession& session, const AppState& file, RadioReach reach,
                   QTextStream& out) {
    if (!readWholeRadio(session, reach.labels)) return kRadioFailure;
    reach.powerMask = session.state().PowerBlockPresent != 0;
    return printDifferences(CompareWithRadio(file, session.state(), reach), out) == kOk ? kOk
                                                                                        : kDiffers;
}

}  // namespace

int runVerify(const QStringList& args) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    RadioOptions o;
    if (!parseVerify(args, o, err)) return kUsage;
    AppState file;
    if (!loadImageFile(o.file, file, err)) return kFileError;
    err.flush();
    RadioSession session(o);
    if (!session.ready()) return kFileError;
    RadioReach reach;
    reach.labels = o.labels;
    return readAndCompare(session, file, reach, out);
}

int verifyWritten(RadioSession& session, const AppState& written, const RadioOptions& o) {
    QTextStream out(stdout);
    // The bits the write was allowed to change, as the link's masks had them.
    RadioReach reach;
    reach.labels = o.labels;
    reach.eepromBits.assign(kEEPromSize, 0);
    const AppState& s = session.state();
    for (int page = o.skipGlobal ? 1 : 0; page < kPageCount; ++page) {
        if (page > 0 && !session.link().pageWritable(page)) continue;
        const auto& mask = page == 0 ? s.GlobalWriteMask : s.GroupWriteMask;
        std::copy(mask.begin(), mask.end(), reach.eepromBits.begin() + page * kPageSize);
    }
    return readAndCompare(session, written, reach, out);
}

}  // namespace tav::cli
