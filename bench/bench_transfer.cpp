// Whole-radio transfers through the real serial port code against the timed
// virtual radio on a pseudo-terminal: read, write, label read and label write.
//
// The floor is what the line and the protocol cannot go below: every byte's
// wire time at its baud rate plus the pauses and delays the protocol
// prescribes. It comes from running the same operation in process on the
// virtual radio and the virtual clock, whose time moves only by wire time and
// prescribed waits; the bytes the real run put on the line are counted and
// must be the same as the virtual run's, so the floor is that of the run
// measured.

#include <sys/resource.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTextStream>
#include <cstdio>
#include <functional>

#include "app/QtSerialLink.h"
#include "app/SystemClock.h"
#include "radio/clsTavCom.h"
#include "sim/RadioImage.h"
#include "sim/SimSerialLink.h"
#include "sim/VirtualClock.h"
#include "sim/VirtualRadio.h"

using namespace tav;

namespace {

class StderrPrompter : public Prompter {
public:
    MsgResult show(const QString& text, const QString& title, MsgButtons, MsgIcon,
                   const QString&) override {
        QTextStream(stderr) << "bench_transfer: [" << title << "] " << text << '\n';
        ++shown;
        return MsgResult::Cancel;
    }
    int shown = 0;
};

// Counts the bytes sent and the bytes read (input thrown away is not counted).
class CountingLink : public SerialLink {
public:
    explicit CountingLink(SerialLink& inner) : inner_(inner) {}
    bool isOpen() const override { return inner_.isOpen(); }
    bool open() override { return inner_.open(); }
    void close() override { inner_.close(); }
    QString lastOpenError() const override { return inner_.lastOpenError(); }
    void setBaudRate(int baud) override { inner_.setBaudRate(baud); }
    int baudRate() const override { return inner_.baudRate(); }
    void writeByte(uint8_t b) override {
        ++sent;
        inner_.writeByte(b);
    }
    int waitingCount() override { return inner_.waitingCount(); }
    uint8_t readByte() override {
        ++received;
        return inner_.readByte();
    }
    void discardInput() override { inner_.discardInput(); }
    void waitForInput(double seconds) override { inner_.waitForInput(seconds); }
    long sent = 0, received = 0;

private:
    SerialLink& inner_;
};

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    const auto s = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return s(u.ru_utime) + s(u.ru_stime);
}

// One side of the comparison: a link object on some line and clock.
struct Side {
    AppState state;
    StderrPrompter prompter;
    NullProgress progress;
    std::unique_ptr<CountingLink> counter;
    std::unique_ptr<clsTavCom> com;
    void attach(SerialLink& line, Clock& clock) {
        counter = std::make_unique<CountingLink>(line);
        com = std::make_unique<clsTavCom>(LinkContext{state, *counter, clock, prompter, progress});
    }
};

using Operation = std::function<bool(clsTavCom&)>;

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString tavctl = qEnvironmentVariable("TAVCTL");
    if (tavctl.isEmpty()) {
        std::fprintf(stderr, "bench_transfer: TAVCTL is not set\n");
        return 1;
    }
    QProcess simProcess;
    simProcess.start(tavctl, {QStringLiteral("sim"), QStringLiteral("--timing")});
    if (!simProcess.waitForStarted(10000)) return 1;
    while (!simProcess.canReadLine() && simProcess.waitForReadyRead(10000)) {
    }
    const QString device = QString::fromLocal8Bit(simProcess.readLine()).trimmed();
    if (device.isEmpty()) return 1;

    // The real side, and the virtual radio with the same factory content as `tavctl sim`.
    QtSerialLink port(device);
    SystemClock clock;
    Side real;
    real.attach(port, clock);
    sim::VirtualRadio radio;
    radio.setRecording(false);
    radio.eeprom() = sim::defaultImage();
    radio.labels() = sim::defaultLabels();
    sim::VirtualClock vclock;
    sim::SimSerialLink vport(radio, vclock);
    Side virt;
    virt.attach(vport, vclock);

    const struct {
        const char* name;
        Operation run;
    } operations[] = {
        {"read", [](clsTavCom& c) { return c.ReadEEMemory(); }},
        {"write", [](clsTavCom& c) { return c.WriteEEMemory(false); }},
        {"labelread", [](clsTavCom& c) { return c.Read_Labels(-1); }},
        {"labelwrite", [](clsTavCom& c) { return c.Write_Labels(-1); }},
    };
    int rc = 0;
    for (const auto& op : operations) {
        virt.state = real.state;  // both sides send the same image
        virt.counter->sent = virt.counter->received = 0;
        real.counter->sent = real.counter->received = 0;
        const double v0 = vclock.now();
        const bool virtualOk = op.run(*virt.com);
        const double floor = vclock.now() - v0;

        const double cpu0 = cpuSeconds();
        const double t0 = clock.now();
        const bool ok = op.run(*real.com);
        const double measured = clock.now() - t0;
        const double cpu = cpuSeconds() - cpu0;
        if (!ok || !virtualOk || real.prompter.shown || virt.prompter.shown) {
            std::fprintf(stderr, "bench_transfer: %s failed\n", op.name);
            rc = 1;
            break;
        }
        if (real.counter->sent != virt.counter->sent ||
            real.counter->received != virt.counter->received) {
            std::fprintf(stderr, "bench_transfer: %s moved %ld/%ld bytes, the floor %ld/%ld\n",
                         op.name, real.counter->sent, real.counter->received, virt.counter->sent,
                         virt.counter->received);
            rc = 1;
        }
        std::printf("%s measured_s=%.3f floor_s=%.3f ratio=%.3f cpu_pct=%.1f\n", op.name, measured,
                    floor, measured / floor, 100.0 * cpu / measured);
        std::fflush(stdout);
    }
    simProcess.terminate();
    simProcess.waitForFinished(5000);
    return rc;
}
