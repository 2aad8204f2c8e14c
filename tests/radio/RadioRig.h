#pragma once
// A radio link wired to the virtual radio on the virtual clock: every wait,
// retry and timeout costs no real time.

#include <QByteArray>
#include <QtTest>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "radio/clsTavCom.h"
#include "sim/SimSerialLink.h"
#include "sim/VirtualClock.h"
#include "sim/VirtualRadio.h"

namespace tav::test {

using Bytes = std::vector<uint8_t>;

// Records progress bar values too, so the order of every call can be checked.
class ValueProgress : public ProgressRecorder {
public:
    void setValue(int v) override {
        ProgressRecorder::setValue(v);
        log << QStringLiteral("value=%1").arg(v);
    }
};

struct RadioRig {
    AppState state;
    sim::VirtualClock clock{100.0};
    sim::VirtualRadio radio;
    sim::SimSerialLink link{radio, clock};
    ScriptedPrompter prompter;
    ValueProgress progress;
    clsTavCom com{LinkContext{state, link, clock, prompter, progress}};

    // Hooks the radio and forgets the traffic so far.
    bool hook() {
        const bool ok = com.Hook();
        radio.clearRecords();
        progress.log.clear();
        return ok;
    }
};

// A fault plan from its text form; an empty text is no fault.
inline sim::FaultPlan faults(const QString& text) {
    sim::FaultPlan plan;
    if (!text.isEmpty() && !sim::FaultPlan::parse(text, plan))
        qFatal("bad fault list %s", qPrintable(text));
    return plan;
}

inline Bytes bytes(std::initializer_list<int> list) {
    Bytes out;
    for (int b : list) out.push_back(static_cast<uint8_t>(b));
    return out;
}

inline Bytes concat(const Bytes& a, const Bytes& b) {
    Bytes out = a;
    out.insert(out.end(), b.begin(), b.end());
    return out;
}

// One wake-up attempt as it goes on the wire: ten 0x00, then the hook request.
inline Bytes wakeAndHookRequest() {
    Bytes out(10, 0x00);
    return concat(out, bytes({0x0A, 0x14, 0x28}));
}

inline Bytes repeated(const Bytes& b, int times) {
    Bytes out;
    for (int i = 0; i < times; ++i) out = concat(out, b);
    return out;
}

// A message box as one comparable line: text | title | buttons | icon.
inline QString boxLine(const QString& text, const QString& title, MsgButtons buttons,
                       MsgIcon icon) {
    return QStringLiteral("%1|%2|%3|%4").arg(text, title).arg(int(buttons)).arg(int(icon));
}
inline QString boxLine(const ShownBox& b) {
    return boxLine(b.text, b.title, b.buttons, b.icon);
}

inline QByteArray hex(const Bytes& b) {
    return QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size()))
        .toHex(' ');
}

// The pauses the editor made, each from its last byte sent or taken: "+n" for n
// bytes sent without a pause, a number for a byte sent after that many ms.
inline QString pauseProfile(const sim::SimSerialLink& link) {
    QStringList out;
    int run = 0;
    double last = link.timeline().empty() ? 0 : link.timeline().front().time;
    for (const sim::LinkEvent& e : link.timeline()) {
        const qint64 ms = qRound64((e.time - std::exchange(last, e.time)) * 1000);
        if (!e.sent) continue;
        if (ms != 0 && run) out << QStringLiteral("+%1").arg(std::exchange(run, 0));
        if (ms != 0) out << QString::number(ms);
        run += ms == 0;
    }
    if (run) out << QStringLiteral("+%1").arg(run);
    return out.join(u' ');
}

}  // namespace tav::test
