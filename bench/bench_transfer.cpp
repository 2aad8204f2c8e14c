// Whole-radio transfers through the real serial port code against the timed
// virtual radio on a pseudo-terminal: read, write, label read and label write,
// and the changed-only writes of a usual edit and of an unchanged file.
//
// The floor is what the line and the protocol cannot go below: every byte's
// wire time at its baud rate plus the pauses and delays the protocol
// prescribes. It comes from running the same operation in process on the
// virtual radio and the virtual clock, whose time moves only by wire time and
// prescribed waits; the bytes the real run put on the line are counted and
// must be the same as the virtual run's, so the floor is that of the run
// measured. A changed-only line is held against the floor of the full write
// of the same file (full_floor_s).
//
// Each line also gives the time of the reference client (BenchSupport.h)
// playing the same exchange on the same line: ref_s, and ratio_ref =
// measured / ref.

#include <QCoreApplication>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

#include "BenchSupport.h"
#include "app/QtSerialLink.h"
#include "app/SystemClock.h"
#include "radio/clsTavCom.h"
#include "sim/RadioImage.h"
#include "sim/SimSerialLink.h"
#include "sim/VirtualClock.h"
#include "sim/VirtualRadio.h"

using namespace tav;

namespace {

using Operation = std::function<bool(clsTavCom&)>;

// One run of an operation in process on a copy of the virtual radio, recorded.
struct VirtualRun {
    bool ok = false;
    double seconds = 0;  // virtual time: the floor
    bench::Script script;
    long sent = 0, received = 0;
    sim::VirtualRadio radio;  // as the run left it
};

// The clock goes on from run to run: the radio's line keeps its times.
VirtualRun runVirtual(sim::VirtualClock& vclock, const sim::VirtualRadio& start,
                      const AppState& image, bool changedOnly, const Operation& op) {
    VirtualRun run;
    run.radio = start;
    const double t0 = vclock.now();
    sim::SimSerialLink line(run.radio, vclock);
    bench::RecordingClock clock(vclock, run.script);
    bench::RecordingLink link(line, &run.script);
    AppState state = image;
    bench::StderrPrompter prompter("bench_transfer (virtual)");
    NullProgress progress;
    clsTavCom com(LinkContext{state, link, clock, prompter, progress});
    com.ChangedOnly = changedOnly;
    run.ok = op(com) && prompter.shown == 0;
    run.seconds = vclock.now() - t0;
    run.sent = link.sent;
    run.received = link.received;
    return run;
}

// A usual edit: five channels of group 1 get a new receive and transmit
// frequency byte, and one unit-wide byte changes.
void usualEdit(AppState& s) {
    for (int c = 0; c < 5; ++c) {
        s.EEImage[kPageSize + 16 + 8 * c] ^= 0x5A;
        s.EEImage[kPageSize + 20 + 8 * c] ^= 0x3C;
    }
    s.EEImage[11] ^= 0x01;
}

// Two labels of group 1 renamed.
void usualLabelEdit(AppState& s) {
    const char* names[2] = {"DISPATCH", "YARD  2 "};
    for (int slot = 0; slot < 2; ++slot)
        for (int k = 0; k < 8; ++k)
            s.label(0, slot, k) = static_cast<uint8_t>(names[slot][7 - k] - 0x20 + 0x60);
}

// Puts the radio back as it was before a line's edit, untimed: a changed-only
// write of the image from before.
bool restoreRadio(clsTavCom& real, AppState& state, const AppState& before, bool labels) {
    const AppState edited = state;
    state = before;
    real.ChangedOnly = true;
    const bool ok = labels ? real.Write_Labels(-1) : real.WriteEEMemory(false);
    state = edited;
    return ok;
}

struct Line {
    const char* name;
    bool changedOnly;
    bool labels;
    Operation run;
    void (*edit)(AppState&) = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QProcess simProcess;
    const QString device = bench::startSimulator(simProcess);
    if (device.isEmpty()) {
        std::fprintf(stderr, "bench_transfer: cannot start the simulator (is TAVCTL set?)\n");
        return 1;
    }

    // The real side, and a model of the radio behind the line: the same
    // factory content as `tavctl sim`, moved on by every exchange.
    QtSerialLink port(device);
    SystemClock clock;
    AppState state;
    bench::StderrPrompter prompter("bench_transfer");
    NullProgress progress;
    bench::RecordingLink counter(port, nullptr);
    clsTavCom real(LinkContext{state, counter, clock, prompter, progress});
    sim::VirtualRadio radio;
    radio.setRecording(false);
    sim::loadFactoryRadio(radio);
    sim::VirtualClock vclock;
    // The file starts as the radio holds it, so that any line can run alone.
    std::copy(radio.eeprom().begin(), radio.eeprom().end(), state.EEImage.begin());
    sim::labelImageFrom(radio.labels(), state.LabelImage);
    // Lines named on the command line run alone; none named, all run.
    const QStringList only = app.arguments().mid(1);

    const Operation read = [](clsTavCom& c) { return c.ReadEEMemory(); };
    const Operation write = [](clsTavCom& c) { return c.WriteEEMemory(false); };
    const Operation labelRead = [](clsTavCom& c) { return c.Read_Labels(-1); };
    const Operation labelWrite = [](clsTavCom& c) { return c.Write_Labels(-1); };
    const Line lines[] = {
        {"read", false, false, read},
        {"write", false, false, write},
        {"labelread", false, true, labelRead},
        {"labelwrite", false, true, labelWrite},
        {"writechanged", true, false, write, usualEdit},
        {"writeunchanged", true, false, write},
        {"labelwritechanged", true, true, labelWrite, usualLabelEdit},
        {"labelwriteunchanged", true, true, labelWrite},
    };
    const int rounds = bench::rounds();
    int rc = 0;
    for (const Line& line : lines) {
        if (!only.isEmpty() && !only.contains(QLatin1String(line.name))) continue;
        const AppState before = state;
        if (line.edit) line.edit(state);
        const VirtualRun exchange = runVirtual(vclock, radio, state, line.changedOnly, line.run);
        const double fullFloor =
            line.changedOnly ? runVirtual(vclock, radio, state, false, line.run).seconds : 0;

        double measured = 1e9, cpu = 0, ref = 1e9;
        bool ok = exchange.ok;
        for (int round = 0; round < rounds && ok; ++round) {
            // An edit is undone between rounds, so that each round makes the same exchange.
            if (round > 0 && line.edit) ok = restoreRadio(real, state, before, line.labels);
            counter.sent = counter.received = 0;
            real.ChangedOnly = line.changedOnly;
            const double cpu0 = bench::cpuSeconds();
            const double t0 = clock.now();
            ok = ok && line.run(real);
            const double took = clock.now() - t0;
            if (took < measured) cpu = bench::cpuSeconds() - cpu0;
            measured = std::min(measured, took);
            const double played = bench::playScript(device, exchange.script);
            if (played < 0) std::fprintf(stderr, "bench_transfer: the reference client failed\n");
            ok = ok && played > 0 && prompter.shown == 0;
            ref = std::min(ref, played);
            if (counter.sent != exchange.sent || counter.received != exchange.received) {
                std::fprintf(stderr, "bench_transfer: %s moved %ld/%ld bytes, the floor %ld/%ld\n",
                             line.name, counter.sent, counter.received, exchange.sent,
                             exchange.received);
                rc = 1;
            }
        }
        radio = exchange.radio;
        if (!ok) {
            std::fprintf(stderr, "bench_transfer: %s failed\n", line.name);
            rc = 1;
            break;
        }
        const double floor = line.changedOnly ? fullFloor : exchange.seconds;
        std::printf("%s measured_s=%.3f %s=%.3f ratio=%.3f cpu_pct=%.1f ref_s=%.3f ratio_ref=%.3f",
                    line.name, measured, line.changedOnly ? "full_floor_s" : "floor_s", floor,
                    measured / floor, 100.0 * cpu / measured, ref, measured / ref);
        // A changed-only line also gives the floor of its own exchange and what it wrote.
        const WriteTally& t = real.tally();
        if (line.changedOnly)
            std::printf(" floor_s=%.3f written=%d/%d", exchange.seconds,
                        line.labels ? t.labelCharsWritten : t.wordsWritten,
                        line.labels ? t.labelCharsConsidered : t.wordsConsidered);
        std::printf("\n");
        std::fflush(stdout);
    }
    simProcess.terminate();
    simProcess.waitForFinished(5000);
    return rc;
}
