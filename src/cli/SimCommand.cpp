#include "cli/SimCommand.h"
#include "cli/Usage.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QSaveFile>
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
    QString dumpPath;
};

const QString kSimUsage = verbHelp("sim");

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
        } else if (a == QLatin1String("--dump-on-exit")) {
            if (!value(o.dumpPath))
                return usageError(QStringLiteral("--dump-on-exit needs a file"));
        } else if (a == QLatin1String("--fault")) {
            QString why;
            if (!value(v)) return usageError(QStringLiteral("--fault needs a list of faults"));
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
        QTextStream(stderr) << "tavctl sim: cannot write " << path << ": " << f.errorString()
                            << '\n';
        return kFileError;
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
    return o.dumpPath.isEmpty() ? kOk : dumpRadio(o.dumpPath, radio);
}

}  // namespace tav::cli
