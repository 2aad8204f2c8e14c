// Reads the whole EEPROM of the timed virtual radio through the real serial
// port code over a pseudo-terminal, and compares the time taken with the
// wire time the protocol cannot avoid.

#include <sys/resource.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTextStream>
#include <cstdio>

#include "app/QtSerialLink.h"
#include "app/SystemClock.h"
#include "radio/clsTavCom.h"

using namespace tav;

namespace {

class StderrPrompter : public Prompter {
public:
    MsgResult show(const QString& text, const QString& title, MsgButtons, MsgIcon,
                   const QString& detail) override {
        QTextStream(stderr) << "bench_eeread: [" << title << "] " << text << ' ' << detail << '\n';
        return MsgResult::Cancel;
    }
};

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    const auto s = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return s(u.ru_utime) + s(u.ru_stime);
}

int fail(const char* why) {
    std::fprintf(stderr, "bench_eeread: %s\n", why);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString tavctl = qEnvironmentVariable("TAVCTL");
    if (tavctl.isEmpty()) return fail("TAVCTL is not set");

    QProcess sim;
    sim.start(tavctl, {QStringLiteral("sim"), QStringLiteral("--timing")});
    if (!sim.waitForStarted(10000)) return fail("cannot start the simulator");
    while (!sim.canReadLine() && sim.waitForReadyRead(10000)) {
    }
    const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
    if (device.isEmpty()) return fail("the simulator printed no device path");

    AppState state;
    QtSerialLink port(device);
    SystemClock clock;
    StderrPrompter prompter;
    NullProgress progress;
    int rc = 0;
    {
        clsTavCom com(LinkContext{state, port, clock, prompter, progress});
        if (!com.Hook()) return fail("the radio did not answer the hook");

        std::array<uint8_t, kEEPromSize + 1> buffer{};
        const double cpu0 = cpuSeconds();
        const double t0 = clock.now();
        const bool ok = com.ReadEEBytes(0, buffer.data(), kEEPromSize);
        const double measured = clock.now() - t0;
        const double cpu = cpuSeconds() - cpu0;
        com.UnHook();
        if (!ok) {
            rc = fail("the read failed");
        } else {
            const double floor = 0.5 + 1024.0 * 4 * 10 / 4800;
            std::printf("eeread measured_s=%.3f floor_s=%.3f ratio=%.3f cpu_pct=%.1f\n", measured,
                        floor, measured / floor, 100.0 * cpu / measured);
        }
    }
    sim.terminate();
    sim.waitForFinished(5000);
    return rc;
}
