#include "cli/SimCommand.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFileInfo>
#include <QSaveFile>
#include <climits>
#include <csignal>
#include <cstring>
#include <functional>
#include <memory>

#include "cli/Cli.h"
#include "cli/CliImage.h"
#include "cli/CommandLine.h"
#include "files/RadioFile.h"
#include "model/AppState.h"
#include "sim/PtyRadioServer.h"
#include "sim/RadioImage.h"
#include "sim/VirtualFleet.h"
#include "sim/VirtualRadio.h"

namespace tav::cli {

namespace {

int stopPipe[2] = {-1, -1};

void onStopSignal(int) {
    const char c = 0;
    const ssize_t n = ::write(stopPipe[1], &c, 1);
    (void)n;
}

// SIGTERM always stops the simulator. SIGINT only when it was not ignored on
// entry: a simulator started in the background of a script ignores it, so
// that a Ctrl-C meant for the command in the foreground leaves it serving.
void stopOnSignals() {
    struct sigaction sa {};
    sa.sa_handler = onStopSignal;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGTERM, &sa, nullptr);
    struct sigaction inherited {};
    ::sigaction(SIGINT, nullptr, &inherited);
    if (inherited.sa_handler != SIG_IGN) ::sigaction(SIGINT, &sa, nullptr);
}

bool takeFaults(const CommandLine& cl, sim::FaultPlan& faults) {
    for (const QString& list : cl.values("--fault")) {
        QString why;
        if (!sim::FaultPlan::parse(list, faults, &why))
            return cl.fail(QStringLiteral("--fault: ") + why);
    }
    return true;
}

// The EEPROM of the radio file at `path`, and its labels when it holds them.
bool loadImage(const QString& verb, const QString& path, sim::VirtualRadio& radio) {
    AppState file;
    if (!loadImageFile(verb, path, file)) return false;
    std::copy_n(file.EEImage.begin(), kEEPromSize, radio.eeprom().begin());
    // The labels of a whole radio file go into the label memory as the radio keeps them.
    if (QFileInfo(path).size() >= kRadioFilePowerOffset)
        radio.labels() = sim::labelMemoryFrom(file.LabelImage);
    return true;
}

// "K:V[,K:V...]" of `option`, for radio K from 1 and V from `min` to `max`
// (in `base`; 0: decimal or 0x-prefixed); `form` and `values` say so when refused.
bool takePerRadio(const CommandLine& cl, const char* option, const char* form, const char* values,
                  long min, long max, int base, const std::function<void(int, long)>& take) {
    for (const QString& list : cl.values(option)) {
        for (const QString& item : list.split(u',', Qt::SkipEmptyParts)) {
            const QStringList kv = item.split(u':');
            bool okK = false, okV = false;
            const int k = kv.value(0).toInt(&okK);
            const long v = kv.value(1).toLong(&okV, base);
            if (kv.size() != 2 || !okK || !okV || k < 1 || v < min || v > max)
                return cl.fail(QStringLiteral("%1 needs %2 with a radio number and %3, not '%4'")
                                   .arg(QLatin1String(option), QLatin1String(form),
                                        QLatin1String(values), item));
            take(k, v);
        }
    }
    return true;
}

// Radio K vanishes after it has heard B bytes; radio K's word at an address keeps its value.
bool takeRadioFaults(const CommandLine& cl, sim::FleetOptions& o) {
    return takePerRadio(cl, "--pull", "K:B", "a byte count from 1", 1, LONG_MAX, 10,
                        [&o](int k, long b) { o.pulls[k] = b; }) &&
           takePerRadio(cl, "--stuck", "K:ADDRESS", "an EEPROM address from 0 to 0x7ff", 0,
                        kEEPromSize - 1, 0,
                        [&o](int k, long a) { o.stuck[k].push_back(uint16_t(a)); });
}

bool takeFleet(const CommandLine& cl, sim::FleetOptions& o) {
    o.radios = cl.count("--radios", 1);
    bool ok = true;
    o.swapSeconds = cl.value("--swap-seconds", QStringLiteral("3")).toDouble(&ok);
    if (!ok || o.swapSeconds < 0)
        return cl.fail(QStringLiteral("--swap-seconds needs a number of seconds from 0, not '%1'")
                           .arg(cl.value("--swap-seconds")));
    o.seed = static_cast<quint32>(cl.count("--seed", 1));
    if (o.radios < 1) return cl.fail(QStringLiteral("--radios needs a count from 1"));
    if (cl.has("--image"))
        return cl.fail(QStringLiteral("--image and --radios exclude each other"));
    return takeRadioFaults(cl, o);
}

// The EEPROM, the file-only byte and the labels: the radio file up to its
// power settings, which the radio keeps in its EEPROM instead.
int dumpRadio(const QString& path, sim::VirtualRadio& radio) {
    AppState state;
    std::copy(radio.eeprom().begin(), radio.eeprom().end(), state.EEImage.begin());
    sim::labelImageFrom(radio.labels(), state.LabelImage);
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) ||
        f.write(SerializeRadioFile(state).left(kRadioFilePowerOffset)) != kRadioFilePowerOffset ||
        !f.commit()) {
        complain(QStringLiteral("sim"),
                 QStringLiteral("cannot write %1: %2").arg(path, f.errorString()));
        return kFileError;
    }
    return kOk;
}

}  // namespace

int runSim(const CommandLine& cl) {
    sim::FaultPlan faults;
    if (!takeFaults(cl, faults)) return kUsage;
    sim::VirtualRadio radio(faults);
    radio.setRecording(false);  // serves indefinitely: keep no log
    if (cl.has("--id")) radio.setIdByte(static_cast<uint8_t>(cl.value("--id").toUInt(nullptr, 0)));
    sim::loadFactoryRadio(radio);
    if (cl.has("--image") && !loadImage(cl.verb(), cl.value("--image"), radio)) return kFileError;

    sim::PtyRadioServer server(radio, cl.has("--timing"));
    bool told = true;  // every line reached standard output
    std::unique_ptr<sim::VirtualFleet> fleet;
    const QString dumpDir = cl.value("--dump-dir");
    if (cl.has("--radios")) {
        sim::FleetOptions options;
        if (!takeFleet(cl, options)) return kUsage;
        fleet = std::make_unique<sim::VirtualFleet>(radio, options);
        server.setFeed([&fleet](uint8_t b, int baud, double t) { fleet->lineIn(b, baud, t); });
        fleet->onLeave([&cl, &radio, &told, dumpDir](int k, const QString& why) {
            told = printLines(cl.verb(), {QStringLiteral("radio %1 %2").arg(k).arg(why)}) && told;
            if (!dumpDir.isEmpty())
                dumpRadio(QStringLiteral("%1/radio-%2.tav").arg(dumpDir).arg(k), radio);
        });
    }
    QString why;
    if (!server.open(&why)) {
        complain(cl.verb(), why);
        return kFileError;
    }
    if (::pipe2(stopPipe, O_CLOEXEC) != 0) {
        complain(cl.verb(), QStringLiteral("cannot create a pipe: %1").arg(strerror(errno)));
        return kFileError;
    }
    stopOnSignals();
    server.onCrash([&cl](const QString& why) {
        complain(cl.verb(),
                 QStringLiteral("the virtual radio crashed (%1); it answers nothing more "
                                "until the simulator is restarted")
                     .arg(why));
    });

    // A parent waits for this line: without it nobody can reach the radio.
    if (!printLines(cl.verb(), {server.slavePath()})) return kFileError;
    const bool stopped = server.run(stopPipe[0], &why);
    if (!stopped) complain(cl.verb(), QStringLiteral("stopped serving: ") + why);
    QString dumpPath = cl.value("--dump-on-exit");
    if (fleet && fleet->current() > 0 && !dumpDir.isEmpty())
        dumpPath = QStringLiteral("%1/radio-%2.tav").arg(dumpDir).arg(fleet->current());
    const int dumped = dumpPath.isEmpty() ? kOk : dumpRadio(dumpPath, radio);
    if (!stopped) return kRadioFailure;
    return dumped == kOk && !told ? kFileError : dumped;
}

}  // namespace tav::cli
