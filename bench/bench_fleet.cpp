// A fleet run against timed virtual radios: `tavctl fleet run --once` on 4
// and 16 stations, each a `tavctl sim --timing` of its own, full write with
// read-back, no labels. single_s is the same run on one station, measured in
// the same run of the benchmark; efficiency = single_s / measured_s (1.0:
// the stations cost each other nothing); cpu_pct is the fleet process's
// processor time over its wall time, in percent of one core.
//
// Before them, one radio's cycle taken apart with the single-radio verbs on
// the same timed radio: the read, the write, the read-back (verify), and
// the changed-only write of the same template with one ANI/ID changed.

#include <sys/resource.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <vector>

#include "BenchSupport.h"
#include "files/RadioFile.h"

namespace {

double childCpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    const auto s = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return s(u.ru_utime) + s(u.ru_stime);
}

struct Timed {
    bool ok = false;
    double seconds = 0, cpu = 0;
};

// Runs tavctl to its end: its wall time and processor time.
Timed tavctl(const QStringList& args) {
    QProcess p;
    const double cpu0 = childCpuSeconds();
    QElapsedTimer clock;
    clock.start();
    p.start(qEnvironmentVariable("TAVCTL"), args);
    Timed t;
    t.ok = p.waitForFinished(600000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    t.seconds = clock.nsecsElapsed() / 1e9;
    t.cpu = childCpuSeconds() - cpu0;
    if (!t.ok)
        std::fprintf(stderr, "bench_fleet: tavctl %s failed: %s\n", qPrintable(args.join(' ')),
                     p.readAllStandardError().constData());
    return t;
}

// `stations` timed radios, one fleet run over them all.
Timed fleetRun(const QTemporaryDir& dir, const QString& templ, int stations) {
    std::vector<std::unique_ptr<QProcess>> sims;
    QStringList ports;
    for (int i = 0; i < stations; ++i) {
        sims.push_back(std::make_unique<QProcess>());
        ports << bench::startSimulator(*sims.back());
    }
    const QString log = dir.filePath(QStringLiteral("log-%1.sqlite").arg(stations));
    const Timed t = tavctl({"fleet", "run", templ, "--ports", ports.join(','), "--ani-from",
                            QString::number(0x100000 * stations, 16), "--once", "--log", log});
    for (auto& s : sims) {
        s->terminate();
        s->waitForFinished(5000);
    }
    return t;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", dir.filePath("data").toUtf8());
    qputenv("XDG_CONFIG_HOME", dir.filePath("config").toUtf8());
    const QString templ = dir.filePath("template.tav");
    {
        QProcess sim;
        const QString dev = bench::startSimulator(sim);
        const Timed read = tavctl({"read", "--port", dev, "-o", templ});
        const Timed write = tavctl({"write", "--port", dev, templ});
        const Timed verify = tavctl({"verify", "--port", dev, templ});
        tav::AppState edited;
        tav::ReadRadioFile(templ, edited);
        edited.EEImage[128 + 7] ^= 0x01;  // group 1's ANI/ID, as the next radio's
        const QString next = dir.filePath("next.tav");
        tav::WriteRadioFile(next, edited);
        const Timed changed = tavctl({"write", "--port", dev, "--changed-only", next});
        std::printf(
            "fleet_cycle read_s=%.2f write_s=%.2f verify_s=%.2f changed_only_write_s=%.2f\n",
            read.seconds, write.seconds, verify.seconds, changed.seconds);
        sim.terminate();
        sim.waitForFinished(5000);
    }
    const Timed single = fleetRun(dir, templ, 1);
    for (int stations : {4, 16}) {
        const Timed t = fleetRun(dir, templ, stations);
        if (!single.ok || !t.ok) return 1;
        std::printf("fleet%d measured_s=%.2f single_s=%.2f efficiency=%.3f cpu_pct=%.1f\n",
                    stations, t.seconds, single.seconds, single.seconds / t.seconds,
                    100.0 * t.cpu / t.seconds);
        std::fflush(stdout);
    }
    return 0;
}
