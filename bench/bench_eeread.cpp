// Reads the whole EEPROM of the timed virtual radio through the real serial
// port code over a pseudo-terminal, and compares the time taken with the
// wire time the protocol cannot avoid, and with the reference client
// (BenchSupport.h) reading it the same way on the same line.

#include <QCoreApplication>
#include <cstdio>

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

int fail(const char* why) {
    std::fprintf(stderr, "bench_eeread: %s\n", why);
    return 1;
}

// Hook, the timed block read between two marks, release: on the virtual
// radio, recorded for the reference client.
bench::Script readScript() {
    bench::Script script;
    sim::VirtualRadio radio;
    radio.setRecording(false);
    radio.eeprom() = sim::defaultImage();
    sim::VirtualClock vclock;
    sim::SimSerialLink line(radio, vclock);
    bench::RecordingClock clock(vclock, script);
    bench::RecordingLink link(line, &script);
    AppState state;
    bench::StderrPrompter prompter("bench_eeread (virtual)");
    NullProgress progress;
    clsTavCom com(LinkContext{state, link, clock, prompter, progress});
    std::array<uint8_t, kEEPromSize + 1> buffer{};
    if (!com.Hook()) return {};
    link.mark();
    const bool ok = com.ReadEEBytes(0, buffer.data(), kEEPromSize);
    link.mark();
    com.UnHook();
    return ok ? script : bench::Script{};
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QProcess sim;
    const QString device = bench::startSimulator(sim);
    if (device.isEmpty()) return fail("cannot start the simulator (is TAVCTL set?)");

    AppState state;
    QtSerialLink port(device);
    SystemClock clock;
    bench::StderrPrompter prompter("bench_eeread");
    NullProgress progress;
    const bench::Script script = readScript();
    if (script.empty()) return fail("the read failed on the virtual radio");
    clsTavCom com(LinkContext{state, port, clock, prompter, progress});
    double measured = 1e9, cpu = 0, ref = 1e9;
    for (int round = 0; round < bench::rounds(); ++round) {
        if (!com.Hook()) return fail("the radio did not answer the hook");
        std::array<uint8_t, kEEPromSize + 1> buffer{};
        const double cpu0 = bench::cpuSeconds();
        const double t0 = clock.now();
        const bool ok = com.ReadEEBytes(0, buffer.data(), kEEPromSize);
        const double took = clock.now() - t0;
        if (took < measured) cpu = bench::cpuSeconds() - cpu0;
        measured = std::min(measured, took);
        com.UnHook();
        if (!ok) return fail("the read failed");
        const double played = bench::playScript(device, script);
        if (played < 0) return fail("the reference client's read failed");
        ref = std::min(ref, played);
    }
    const double floor = 0.5 + 1024.0 * 4 * 10 / 4800;
    std::printf(
        "eeread measured_s=%.3f floor_s=%.3f ratio=%.3f cpu_pct=%.1f ref_s=%.3f ratio_ref=%.3f\n",
        measured, floor, measured / floor, 100.0 * cpu / measured, ref, measured / ref);
    sim.terminate();
    sim.waitForFinished(5000);
    return 0;
}
