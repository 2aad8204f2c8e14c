#include "cli/SimCommand.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QTextStream>
#include <csignal>

#include "app/AppState.h"
#include "cli/Cli.h"
#include "files/RadioFile.h"
#include "sim/PtyRadioServer.h"
#include "sim/RadioImage.h"
#include "sim/VirtualRadio.h"

namespace tav::cli {

namespace {

int stopPipe[2] = {-1, -1};

void onStopSignal(int) {
    const char c = 0;
    const ssize_t n = ::write(stopPipe[1], &c, 1);
    (void)n;
}

struct SimOptions {
    QString image;
    std::optional<uint8_t> id;
    bool timing = false;
    sim::FaultPlan faults;
};

const char kSimUsage[] =
    "usage: tavctl sim [--image FILE] [--id 0xNN] [--timing] [--fault SPEC]\n"
    "  --image FILE  load a radio file: its first 2048 bytes into the EEPROM, and\n"
    "                its labels into the label memory when the file holds them\n"
    "                (default: a factory radio with groups 1-14 and both per-channel\n"
    "                options)\n"
    "  --id 0xNN     identification byte (default 0x40)\n"
    "  --timing      charge every byte its wire time (10 bits at the line speed)\n"
    "  --fault SPEC  comma-separated faults: silent, id=0xNN, drop-reply=N,\n"
    "                corrupt-reply=N, drop-echo=N, corrupt-echo=N, corrupt-in=N,\n"
    "                slow=MS; counts may be ranges N-M within a step, as in\n"
    "                drop-reply=label:6-9 (steps: hook, eeprom, ram, baud, loader,\n"
    "                label)\n";

int usageError(const QString& why) {
    QTextStream err(stderr);
    err << "tavctl sim: " << why << '\n' << kSimUsage;
    return kUsage;
}

// Returns kOk, or the exit status of the error it reported.
int parse(const QStringList& args, SimOptions& o) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto value = [&](QString& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        QString v;
        if (a == QLatin1String("--timing")) {
            o.timing = true;
        } else if (a == QLatin1String("--image")) {
            if (!value(o.image)) return usageError(QStringLiteral("--image needs a file"));
        } else if (a == QLatin1String("--id")) {
            bool ok = false;
            const uint id = value(v) ? v.toUInt(&ok, 0) : 0;
            if (!ok || id > 0xFF)
                return usageError(QStringLiteral("--id needs a byte value such as 0x40"));
            o.id = static_cast<uint8_t>(id);
        } else if (a == QLatin1String("--fault")) {
            QString why;
            if (!value(v)) return usageError(QStringLiteral("--fault needs a specification"));
            if (!sim::FaultPlan::parse(v, o.faults, &why)) return usageError(why);
        } else {
            return usageError(QStringLiteral("unknown option '%1'").arg(a));
        }
    }
    return kOk;
}

int loadImage(const QString& path, sim::VirtualRadio& radio) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        QTextStream(stderr) << "tavctl sim: cannot read " << path << ": " << f.errorString()
                            << '\n';
        return kFileError;
    }
    const QByteArray bytes = f.read(kEEPromSize);
    if (bytes.size() < kEEPromSize)
        return usageError(QStringLiteral("%1 holds %2 bytes; a radio image needs at least %3")
                              .arg(path)
                              .arg(bytes.size())
                              .arg(kEEPromSize));
    std::copy(bytes.begin(), bytes.end(), radio.eeprom().begin());
    // The labels of a whole radio file go into the label memory as the radio keeps them.
    const QByteArray labels = f.read(kRadioFileLabelOffset + kLabelImageSize - kEEPromSize)
                                  .mid(kRadioFileLabelOffset - kEEPromSize);
    if (labels.size() == kLabelImageSize) {
        std::array<uint8_t, kLabelImageSize> image{};
        std::copy(labels.begin(), labels.end(), image.begin());
        radio.labels() = sim::labelMemoryFrom(image);
    }
    return kOk;
}

}  // namespace

int runSim(const QStringList& args) {
    SimOptions o;
    if (const int rc = parse(args, o); rc != kOk) return rc;
    sim::VirtualRadio radio(o.faults);
    radio.setRecording(false);  // serves indefinitely: keep no log
    if (o.id) radio.setIdByte(*o.id);
    radio.eeprom() = sim::defaultImage();
    radio.labels() = sim::defaultLabels();
    if (!o.image.isEmpty())
        if (const int rc = loadImage(o.image, radio); rc != kOk) return rc;

    sim::PtyRadioServer server(radio, o.timing);
    QString why;
    if (!server.open(&why) || ::pipe2(stopPipe, O_CLOEXEC) != 0) {
        QTextStream(stderr) << "tavctl sim: " << why << '\n';
        return kFileError;
    }
    struct sigaction sa {};
    sa.sa_handler = onStopSignal;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);

    QTextStream out(stdout);
    out << server.slavePath() << Qt::endl;  // flushed: a parent waits for this line
    server.run(stopPipe[0]);
    return kOk;
}

}  // namespace tav::cli
