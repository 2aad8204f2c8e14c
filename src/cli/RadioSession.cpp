#include "cli/RadioSession.h"

#include <unistd.h>

#include "app/Settings.h"
#include "cli/CommandLine.h"

namespace tav::cli {

RadioOptions radioOptions(const CommandLine& cl) {
    RadioOptions o;
    o.verb = cl.verb();
    o.port = cl.value("--port");
    o.labels = cl.has("--labels");
    o.skipGlobal = cl.has("--skip-global");
    o.verify = cl.has("--verify");
    o.changedOnly = cl.has("--changed-only");
    o.retries = cl.count("--retries", 0);
    o.trace = cl.value("--trace");
    o.file = cl.value("-o", cl.operands().value(0));
    o.perChannelBandwidth = cl.onOff("--per-channel-bandwidth");
    o.perChannelPower = cl.onOff("--per-channel-power");
    return o;
}

RadioSession::RadioSession(const RadioOptions& o)
    : port_(o.port), prompter_(o.retries), progress_(::isatty(STDERR_FILENO) != 0) {
    // The editor's options, so that a radio lacking a feature is warned about as the editor warns.
    const Settings settings;
    state_.PerChanBandOn = o.perChannelBandwidth.value_or(settings.perChannelBandwidth());
    state_.PerChanPwrOn = o.perChannelPower.value_or(settings.perChannelPower());
    SerialLink* line = &port_;
    if (!o.trace.isEmpty()) {
        traceFile_.setFileName(o.trace);
        if (!traceFile_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            complain(o.verb,
                     QStringLiteral("cannot write %1: %2").arg(o.trace, traceFile_.errorString()));
            ready_ = false;
            return;
        }
        tracer_ = std::make_unique<TracingSerialLink>(port_, clock_, traceFile_);
        line = tracer_.get();
    }
    link_ = std::make_unique<clsTavCom>(LinkContext{state_, *line, clock_, prompter_, progress_});
}

}  // namespace tav::cli
