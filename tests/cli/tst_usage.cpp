#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <optional>

#include "../e2e/E2eSupport.h"
#include "Fixtures.h"
#include "TestMain.h"
#include "files/RadioFile.h"

using namespace tav;
using namespace tav::test;

// The command line's contract: `tavctl --help`, every `tavctl VERB --help` and
// the manual page tell the same story, and every verb ends each outcome with
// its exit status and one wording for one fault.
class TestUsage : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    // Where a run's standard output goes: to the test, to a full disk, or
    // into a pipe whose reader has gone (SIGPIPE as a shell leaves it).
    static std::function<void()> standardOutput(const QString& kind) {
        if (kind.isEmpty()) return {};
        return [full = kind == "full"] {
            int ends[2] = {-1, ::open("/dev/full", O_WRONLY)};
            if (!full && ::pipe(ends) == 0) ::close(ends[0]);
            ::dup2(ends[1], STDOUT_FILENO);
            ::signal(SIGPIPE, SIG_DFL);
        };
    }

    // Section headings of the manual page, with groff's escaped hyphens undone.
    static QStringList manualSections() {
        const QByteArray page =
            readFile(qEnvironmentVariable("TAV_SOURCE_DIR") + "/packaging/tavctl.1");
        QStringList sections;
        for (const QString& line : QString::fromUtf8(page).split('\n'))
            if (line.startsWith(".SS \""))
                sections << line.mid(5).chopped(1).replace(QLatin1String("\\-"), "-");
        return sections;
    }

private slots:
    void initTestCase() {
        QVERIFY(!tavctlPath().isEmpty());
        // The printout's platform would otherwise add a note of its own on stderr.
        qputenv("XDG_RUNTIME_DIR", dir_.path().toUtf8());
        AppState other;
        other.EEImage[300] = 1;
        QVERIFY(WriteRadioFile(dir_.filePath("radio.tav"), AppState()).ok());
        QVERIFY(WriteRadioFile(dir_.filePath("other.tav"), other).ok());
        QVERIFY(writeFile(dir_.filePath("short.tav"), QByteArray(100, 0)));
        QVERIFY(writeFile(dir_.filePath("rows.csv"), "Group,Channel,Rx Freq\n1,1,155\n"));
        QVERIFY(writeFile(dir_.filePath("bad.csv"),
                          "Group,Channel,Rx Freq,Label\n1,1,180,OK\n1,2,155,TOO LONG!\n"));
        QVERIFY(QDir(dir_.path()).mkdir("folder"));
        QVERIFY(::mkfifo(QFile::encodeName(dir_.filePath("pipe.csv")).constData(), 0600) == 0);
        QVERIFY(writeFile(dir_.filePath("broken.json"), "{\"unit\": "));
        QVERIFY(writeFile(dir_.filePath("tot.json"),
                          "{\"groups\": [{\"number\": 2, \"time_out_timer\": \"20\"}]}"));
        QVERIFY(writeFile(dir_.filePath("nonumber.json"),
                          "{\"groups\": [{\"channels\": [{\"channel\": 1}]}]}"));
        QVERIFY(writeFile(dir_.filePath("power.json"),
                          "{\"groups\": [{\"number\": 3, \"channels\": [{\"channel\": 2, "
                          "\"low_power\": null}]}]}"));
    }

    void everyVerbHasHelpMatchingTheManual() {
        const Run overview = tavctl({"--help"});
        QCOMPARE(overview.status, 0);
        QStringList verbs;
        for (const QString& line : overview.out.split('\n'))
            if (line.startsWith("  ")) verbs << line.trimmed().section(' ', 0, 0);
        QVERIFY(verbs.size() >= 9);
        const QStringList sections = manualSections();
        for (const QString& verb : verbs) {
            const Run r = tavctl({verb, "--help"});
            QCOMPARE(r.status, 0);
            const QString synopsis = r.out.section('\n', 0, 0);
            QVERIFY2(synopsis.startsWith("usage: tavctl " + verb), qPrintable(synopsis));
            QVERIFY2(sections.contains(synopsis.mid(14)), qPrintable(verb));
        }
        QVERIFY(tavctl({"--version"}).out.startsWith("tavctl 1."));
    }

    // `message`: the lines on stderr, '\n' between them; a line ending in "*"
    // matches any rest. With `sim` options a simulator serves the radio at DEV.
    void exitStatuses_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("sim");
        QTest::addColumn<QString>("output");  // standardOutput()'s kind
        const auto row = [](const char* name, const QStringList& args, int status,
                            const QString& message, const QStringList& sim = {},
                            const QString& output = {}) {
            QTest::newRow(name) << args << status << message << sim << output;
        };
        const QString tooShort =
            ": cannot read short.tav: not a radio file (it holds 100 bytes, at least 2048 are "
            "needed)";
        const QString noPort = "COMM ERROR: Unable to open Comm Port (*";
        const QString writeFailed = "COMM ERROR: Write Failed. Cycle Radio Power before Retrying.";
        const QString notHooked = "COMM ERROR: Error Hooking to Radio.";
        const QStringList read{"read", "--port", "DEV", "-o", "out.tav"};
        const QStringList write{"write", "--port", "DEV", "radio.tav"};
        // Outcomes.
        row("diff equal", {"diff", "radio.tav", "radio.tav"}, 0, "");
        row("diff different", {"diff", "radio.tav", "other.tav"}, 1, "");
        row("read --port=", {"read", "--port=/nonexistent/tty", "--output", "out.tav"}, 1, noPort);
        row("write, no port", {"write", "--port", "/nonexistent/tty", "radio.tav"}, 1, noPort);
        row("verify, no port", {"verify", "--port=/nonexistent/tty", "radio.tav"}, 1, noPort);
        row("write fails", write, 1, writeFailed, {"--fault", "drop-echo=100"});
        // The retry goes through but for group 15, where the radio keeps its own blocks.
        row("write fails, one retry", write + QStringList{"--retries", "1"}, 0,
            writeFailed +
                "\nWrite Radio: Group 15 is not configured for channel data in this radio; its "
                "channels were not written.",
            {"--fault=drop-echo=100"});
        row("silent radio", read, 1, notHooked, {"--fault", "silent"});
        row("another radio", read, 1, notHooked, {"--id", "0x43"});
        const QString readError = "COMM ERROR: Error reading radio";
        row("read fails", read, 1, readError, {"--fault", "drop-reply=300"});
        // After the block (the identification byte and 2048 replies): the last
        // power word's second byte, the first directory entry.
        row("read, power word lost", read, 1, readError, {"--fault", "drop-reply=2101"});
        row("verify, directory lost", {"verify", "--port", "DEV", "radio.tav"}, 1, readError,
            {"--fault", "drop-reply=2050"});
        row("label program garbled", read + QStringList{"--labels"}, 1,
            "TAV Editor: Unable to upload data from radio\nTAV Editor: Unable to set baud rate",
            {"--fault", "corrupt-in=loader:7"});
        // One fault, one wording, whichever verb meets it.
        row("dump, short", {"dump", "short.tav"}, 3, "tavctl dump" + tooShort);
        row("diff, short", {"diff", "radio.tav", "short.tav"}, 3, "tavctl diff" + tooShort);
        row("export-csv, short", {"export-csv", "short.tav"}, 3, "tavctl export-csv" + tooShort);
        row("import-csv, short", {"import-csv", "short.tav", "rows.csv", "-o", "out.tav"}, 3,
            "tavctl import-csv" + tooShort);
        row("print, short", {"print", "short.tav", "-o", "out.pdf"}, 3, "tavctl print" + tooShort);
        row("write, short", {"write", "--port", "/nonexistent/tty", "short.tav"}, 3,
            "tavctl write" + tooShort);
        row("verify, short", {"verify", "--port", "p", "short.tav"}, 3, "tavctl verify" + tooShort);
        row("sim, short", {"sim", "--image", "short.tav"}, 3, "tavctl sim" + tooShort);
        row("dump, missing", {"dump", "missing.tav"}, 3,
            "tavctl dump: cannot read missing.tav: No such file or directory");
        row("write, missing", {"write", "--port", "p", "missing.tav"}, 3,
            "tavctl write: cannot read missing.tav: No such file or directory");
        row("import-csv, missing CSV", {"import-csv", "radio.tav", "missing.csv", "-o", "out.tav"},
            3, "tavctl import-csv: cannot read missing.csv: No such file or directory");
        row("import-csv, bad rows", {"import-csv", "radio.tav", "bad.csv", "-o", "out.tav"}, 3,
            "bad.csv: line 2: Rx Freq \"180\": outside the band 143 to 174 MHz\n"
            "bad.csv: line 3: Label \"TOO LONG!\": \"!\" is not a character of the radio's "
            "display\ntavctl import-csv: nothing written");
        row("print, folder", {"print", "folder", "-o", "out.pdf"}, 3,
            "tavctl print: cannot read folder: not a regular file");
        row("print, unwritable", {"print", "radio.tav", "-o", "nowhere/out.pdf"}, 3,
            "tavctl print: cannot write nowhere/out.pdf: No such file or directory");
        row("read, unwritable trace",
            {"read", "--port", "p", "--trace", "nowhere/t", "-o", "out.tav"}, 3,
            "tavctl read: cannot write nowhere/t: No such file or directory");
        // Output that did not arrive; a path that is no regular file stays as it is.
        const QString full = "cannot write standard output: No space left on device";
        const QString gone = "cannot write standard output: Broken pipe";
        row("dump, disk full", {"dump", "radio.tav"}, 3, "tavctl dump: " + full, {}, "full");
        row("dump --json, reader gone", {"dump", "--json", "radio.tav"}, 3, "tavctl dump: " + gone,
            {}, "closed");
        row("export-csv, disk full", {"export-csv", "radio.tav"}, 3, "tavctl export-csv: " + full,
            {}, "full");
        row("export-csv, reader gone", {"export-csv", "-o", "-", "radio.tav"}, 3,
            "tavctl export-csv: " + gone, {}, "closed");
        row("export-csv onto a pipe", {"export-csv", "-o", "pipe.csv", "radio.tav"}, 3,
            "tavctl export-csv: cannot write pipe.csv: not a regular file");
        row("print onto a pipe", {"print", "radio.tav", "-o", "pipe.csv"}, 3,
            "tavctl print: cannot write pipe.csv: not a regular file");
        row("diff, reader gone", {"diff", "radio.tav", "other.tav"}, 3, "tavctl diff: " + gone, {},
            "closed");
        row("get, disk full", {"get", "radio.tav", "unit.password"}, 3, "tavctl get: " + full, {},
            "full");
        // A blank file and the factory radio differ: the listing is lost, not the difference.
        row("verify, disk full", {"verify", "--port", "DEV", "radio.tav"}, 3,
            "tavctl verify: " + full, {"--id", "0x40"}, "full");
        // Fields by name: a refused path or value names the path and why.
        const QString tots =
            "OFF, 15, 30, 45, 60, 75, 90, 105, 120, 135, 150, 165, 180, 195, "
            "210, 225)";
        row("get, no path", {"get", "radio.tav"}, 2, "tavctl get: missing PATH...");
        row("get, group 16", {"get", "radio.tav", "group.16.label"}, 2,
            "tavctl get: group.16.label: no group 16: groups are 1 to 15 or *");
        row("get, channel 0", {"get", "radio.tav", "group.*.channel.0.scan"}, 2,
            "tavctl get: group.*.channel.0.scan: no channel 0: channels are 1 to 14 or *");
        row("get, group 15 power", {"get", "radio.tav", "group.15.channel.1.low_power"}, 2,
            "tavctl get: group.15.channel.1.low_power: group 15 has no low power setting");
        row("get, not a path", {"get", "radio.tav", "group.1"}, 2,
            "tavctl get: group.1: not a field path (unit.KEY, group.N.KEY or "
            "group.N.channel.M.KEY)");
        row("get, short", {"get", "short.tav", "unit.password"}, 3, "tavctl get" + tooShort);
        row("set, unknown key", {"set", "radio.tav", "unit.tot=30"}, 2,
            "tavctl set: unit.tot: no unit field \"tot\"");
        row("set, no value", {"set", "radio.tav", "unit.password"}, 2,
            "tavctl set: unit.password: not PATH=VALUE");
        row("set, not in list",
            {"set", "radio.tav", "group.1.time_out_timer=30", "group.2.time_out_timer=20"}, 2,
            "tavctl set: group.2.time_out_timer: \"20\": not an entry of its list (" + tots);
        row("set, read-only", {"set", "radio.tav", "unit.per_channel_bandwidth=1"}, 2,
            "tavctl set: unit.per_channel_bandwidth: read-only: the radio's factory setting");
        row("set, out of band", {"set", "radio.tav", "group.*.channel.*.rx_freq=180"}, 2,
            "tavctl set: group.*.channel.*.rx_freq: \"180\": outside the band 143 to 174 MHz");
        row("set, off raster", {"set", "radio.tav", "group.1.channel.1.tx_freq=155.001"}, 2,
            "tavctl set: group.1.channel.1.tx_freq: \"155.001\": not on the 2.5 kHz or 6.25 kHz "
            "channel raster");
        row("set, not storable", {"set", "radio.tav", "group.1.channel.1.rx_freq=155.0025"}, 2,
            "tavctl set: group.1.channel.1.rx_freq: \"155.0025\": the radio cannot hold this "
            "frequency (5 kHz steps, or 6.25 kHz and 12.5 kHz offsets)");
        row("set, tone too high", {"set", "radio.tav", "group.1.channel.1.rx_cg=900.0"}, 2,
            "tavctl set: group.1.channel.1.rx_cg: \"900.0\": not a channel guard (a tone such as "
            "067.0 below 800 Hz, or a digital code such as D023 or D023-)");
        row("set, hex digits", {"set", "radio.tav", "group.1.ani_id=12345678"}, 2,
            "tavctl set: group.1.ani_id: \"12345678\": not 1 to 7 hexadecimal digits");
        row("set, check box", {"set", "radio.tav", "group.1.channel.1.scan=yes"}, 2,
            "tavctl set: group.1.channel.1.scan: \"yes\": not 0, 1, true or false");
        row("set, label", {"set", "radio.tav", "group.1.label=HI!"}, 2,
            "tavctl set: group.1.label: \"HI!\": \"!\" is not a character of the radio's display");
        row("set, missing", {"set", "missing.tav", "unit.password=1"}, 3,
            "tavctl set: cannot read missing.tav: No such file or directory");
        row("apply, not JSON", {"apply", "radio.tav", "broken.json"}, 3,
            "tavctl apply: broken.json: not JSON: *\ntavctl apply: nothing written");
        row("apply, bad value", {"apply", "radio.tav", "tot.json"}, 3,
            "tavctl apply: tot.json: group.2.time_out_timer: \"20\": not an entry of its list (" +
                tots + "\ntavctl apply: nothing written");
        row("apply, no group number", {"apply", "radio.tav", "nonumber.json"}, 3,
            "tavctl apply: nonumber.json: groups[0]: needs \"number\", a number from 1 to 15\n"
            "tavctl apply: nothing written");
        row("apply, null power", {"apply", "radio.tav", "power.json"}, 3,
            "tavctl apply: power.json: group.3.channel.2.low_power: not a text, true or false (in "
            "groups[0].channels[0])\ntavctl apply: nothing written");
        row("apply, missing edits", {"apply", "radio.tav", "missing.json"}, 3,
            "tavctl apply: cannot read missing.json: No such file or directory");
        // Usage: the message, then the verb's synopsis (or the list of verbs).
        row("no verb", {}, 2, "");
        row("unknown verb", {"frob"}, 2, "tavctl: unknown verb 'frob'");
        row("read without port", {"read", "-o", "out.tav"}, 2,
            "tavctl read: missing --port DEVICE");
        row("read without output", {"read", "--port", "p"}, 2, "tavctl read: missing -o FILE");
        row("import without output", {"import-csv", "radio.tav", "rows.csv"}, 2,
            "tavctl import-csv: missing -o OUT");
        row("print without file", {"print", "-o", "out.pdf"}, 2, "tavctl print: missing FILE");
        row("diff, one operand", {"diff", "radio.tav"}, 2, "tavctl diff: missing B");
        row("print, two files", {"print", "radio.tav", "other.tav", "-o", "out.pdf"}, 2,
            "tavctl print: unexpected argument 'other.tav'");
        row("sim, operand", {"sim", "radio.tav"}, 2, "tavctl sim: unexpected argument 'radio.tav'");
        row("unknown option", {"diff", "-x", "radio.tav", "radio.tav"}, 2,
            "tavctl diff: unknown option '-x'");
        row("write's option to verify", {"verify", "--port", "p", "--skip-global", "radio.tav"}, 2,
            "tavctl verify: unknown option '--skip-global'");
        row("-o without value", {"print", "radio.tav", "-o"}, 2,
            "tavctl print: -o needs REPORT.pdf");
        row("value is an option", {"read", "--port", "--labels", "-o", "x"}, 2,
            "tavctl read: --port needs DEVICE");
        row("bad count", {"write", "--port", "p", "--retries", "x", "radio.tav"}, 2,
            "tavctl write: --retries needs a count from 0, not 'x'");
        row("bad count=", {"verify", "--port=p", "--retries=-1", "radio.tav"}, 2,
            "tavctl verify: --retries needs a count from 0, not '-1'");
        row("flag with value", {"write", "--port", "p", "--labels=yes", "radio.tav"}, 2,
            "tavctl write: --labels takes no value");
        row("bad switch", {"read", "--port", "p", "--per-channel-power", "yes", "-o", "x"}, 2,
            "tavctl read: --per-channel-power needs on or off, not 'yes'");
        row("bad byte", {"sim", "--id", "0x1FF"}, 2,
            "tavctl sim: --id needs a byte value such as 0x40, not '0x1FF'");
        row("bad fault list", {"sim", "--fault=drop-reply=x"}, 2,
            "tavctl sim: --fault: drop-reply needs a whole number from 1, got 'x' (*");
    }
    void exitStatuses() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, message);
        QFETCH(QStringList, sim);
        QFETCH(QString, output);
        std::optional<Simulator> radio;
        if (!sim.isEmpty()) {
            radio.emplace(sim);
            QVERIFY(!radio->device.isEmpty());
            args.replaceInStrings("DEV", radio->device);
        }
        const QDir dir(dir_.path());
        for (const QString& f : dir.entryList({"out.*"})) QVERIFY(QFile::remove(dir.filePath(f)));
        const Run r = tavctl(args, dir_.path(), standardOutput(output));
        QCOMPARE(r.status, status);
        QStringList want = message.split('\n', Qt::SkipEmptyParts);
        if (status == 2) {
            const Run verbHelp = tavctl({args.value(0), "--help"});
            want << (verbHelp.status == 0 ? QStringList{verbHelp.out.section('\n', 0, 0)}
                                          : tavctl({"--help"}).out.trimmed().split('\n'));
        }
        const QStringList lines = r.err.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), want.size());
        for (int i = 0; i < want.size(); ++i) {
            if (want[i].endsWith('*'))
                QVERIFY2(lines[i].startsWith(want[i].chopped(1)), qPrintable(r.err));
            else
                QCOMPARE(lines[i], want[i]);
        }
        // A command that fails writes nothing, and changes no file it was given.
        if (status != 0) QCOMPARE(dir.entryList({"out.*"}), QStringList());
        QVERIFY(!QFileInfo(dir.filePath("pipe.csv")).isFile());
        if (status != 0)
            QCOMPARE(readFile(dir.filePath("radio.tav")), SerializeRadioFile(AppState()));
    }
};

TAV_TEST_GUILESS(TestUsage);
#include "tst_usage.moc"
