#pragma once
// What the verbs that talk to a radio share: their options and one radio
// link on the real serial line and clock, with the line traced on request,
// message boxes on stderr and progress on the terminal.

#include <QFile>
#include <QString>
#include <memory>
#include <optional>

#include "app/QtSerialLink.h"
#include "app/SystemClock.h"
#include "app/TracingSerialLink.h"
#include "cli/CliProgress.h"
#include "cli/StderrPrompter.h"
#include "model/AppState.h"
#include "radio/clsTavCom.h"

namespace tav::cli {

class CommandLine;

struct RadioOptions {
    QString verb;
    QString port;
    bool labels = false;
    bool skipGlobal = false;   // write only
    bool verify = false;       // write only: read back and compare
    bool changedOnly = false;  // write only: send only what the radio does not hold
    int retries = 0;
    QString trace;
    QString file;  // -o FILE for read, the operand for write and verify
    // The editor's per-channel options for this run; unset: the user's settings.
    std::optional<bool> perChannelBandwidth, perChannelPower;
};

RadioOptions radioOptions(const CommandLine& cl);

class RadioSession {
public:
    explicit RadioSession(const RadioOptions& o);
    // False when the trace file cannot be created (already reported).
    bool ready() const { return ready_; }
    AppState& state() { return state_; }
    clsTavCom& link() { return *link_; }

private:
    AppState state_;
    QtSerialLink port_;
    SystemClock clock_;
    QFile traceFile_;
    std::unique_ptr<TracingSerialLink> tracer_;
    StderrPrompter prompter_;
    CliProgress progress_;
    std::unique_ptr<clsTavCom> link_;
    bool ready_ = true;
};

}  // namespace tav::cli
