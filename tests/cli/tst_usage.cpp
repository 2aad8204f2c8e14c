#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "TestMain.h"
#include "../e2e/E2eSupport.h"
#include "files/RadioFile.h"

using namespace tav;
using namespace tav::test;

// The command line's contract: `tavctl --help`, every `tavctl VERB --help` and
// the manual page tell the same story, and every verb ends each outcome with
// its exit status and one wording for one fault.
class TestUsage : public QObject {
    Q_OBJECT

    QTemporaryDir dir_, runtime_;

    // Section headings of the manual page, with groff's escaped hyphens undone.
    static QStringList manualSections() {
        QFile f(qEnvironmentVariable("TAV_SOURCE_DIR") + "/packaging/tavctl.1");
        if (!f.open(QIODevice::ReadOnly)) return {};
        QStringList sections;
        for (const QString& line : QString::fromUtf8(f.readAll()).split('\n'))
            if (line.startsWith(".SS \""))
                sections << line.mid(5).chopped(1).replace(QLatin1String("\\-"), "-");
        return sections;
    }

private slots:
    void initTestCase() {
        QVERIFY(!tavctlPath().isEmpty());
        // The printout's platform would otherwise add a note of its own on stderr.
        qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
        AppState other;
        other.EEImage[300] = 1;
        QVERIFY(WriteRadioFile(dir_.filePath("radio.tav"), AppState()).ok());
        QVERIFY(WriteRadioFile(dir_.filePath("other.tav"), other).ok());
        QFile shortFile(dir_.filePath("short.tav"));
        QVERIFY(shortFile.open(QIODevice::WriteOnly) && shortFile.write(QByteArray(100, 0)) == 100);
        QFile csv(dir_.filePath("rows.csv"));
        QVERIFY(csv.open(QIODevice::WriteOnly) &&
                csv.write("Group,Channel,Rx Freq\n1,1,155\n") > 0);
        QVERIFY(QDir(dir_.path()).mkdir("folder"));
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

    // `message`: the first line on stderr ("" for none); a trailing "*" matches any rest.
    void exitStatuses_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        const QString tooShort =
            ": cannot read short.tav: not a radio file (it holds 100 bytes, at least 2048 are "
            "needed)";
        const QString noPort = "COMM ERROR: Unable to open Comm Port (*";
        // Outcomes.
        QTest::newRow("diff equal") << QStringList{"diff", "radio.tav", "radio.tav"} << 0 << "";
        QTest::newRow("diff different") << QStringList{"diff", "radio.tav", "other.tav"} << 1 << "";
        QTest::newRow("--output=")
            << QStringList{"export-csv", "--output=out.csv", "radio.tav"} << 0 << "";
        QTest::newRow("read --port=")
            << QStringList{"read", "--port=/nonexistent/tty", "--output", "out.tav"} << 1 << noPort;
        QTest::newRow("write, no port")
            << QStringList{"write", "--port", "/nonexistent/tty", "radio.tav"} << 1 << noPort;
        QTest::newRow("verify, no port")
            << QStringList{"verify", "--port=/nonexistent/tty", "radio.tav"} << 1 << noPort;
        // One fault, one wording, whichever verb meets it.
        QTest::newRow("dump, short")
            << QStringList{"dump", "short.tav"} << 3 << "tavctl dump" + tooShort;
        QTest::newRow("diff, short")
            << QStringList{"diff", "radio.tav", "short.tav"} << 3 << "tavctl diff" + tooShort;
        QTest::newRow("export-csv, short")
            << QStringList{"export-csv", "short.tav"} << 3 << "tavctl export-csv" + tooShort;
        QTest::newRow("import-csv, short")
            << QStringList{"import-csv", "short.tav", "rows.csv", "-o", "out.tav"} << 3
            << "tavctl import-csv" + tooShort;
        QTest::newRow("print, short")
            << QStringList{"print", "short.tav", "-o", "out.pdf"} << 3 << "tavctl print" + tooShort;
        QTest::newRow("write, short")
            << QStringList{"write", "--port", "/nonexistent/tty", "short.tav"} << 3
            << "tavctl write" + tooShort;
        QTest::newRow("verify, short")
            << QStringList{"verify", "--port", "p", "short.tav"} << 3 << "tavctl verify" + tooShort;
        QTest::newRow("sim, short")
            << QStringList{"sim", "--image", "short.tav"} << 3 << "tavctl sim" + tooShort;
        QTest::newRow("dump, missing")
            << QStringList{"dump", "missing.tav"} << 3
            << "tavctl dump: cannot read missing.tav: No such file or directory";
        QTest::newRow("write, missing")
            << QStringList{"write", "--port", "p", "missing.tav"} << 3
            << "tavctl write: cannot read missing.tav: No such file or directory";
        QTest::newRow("import-csv, missing CSV")
            << QStringList{"import-csv", "radio.tav", "missing.csv", "-o", "out.tav"} << 3
            << "tavctl import-csv: cannot read missing.csv: No such file or directory";
        QTest::newRow("print, folder") << QStringList{"print", "folder", "-o", "out.pdf"} << 3
                                       << "tavctl print: cannot read folder: not a regular file";
        QTest::newRow("print, unwritable")
            << QStringList{"print", "radio.tav", "-o", "nowhere/out.pdf"} << 3
            << "tavctl print: cannot write nowhere/out.pdf: No such file or directory";
        QTest::newRow("read, unwritable trace")
            << QStringList{"read", "--port", "p", "--trace", "nowhere/t", "-o", "out.tav"} << 3
            << "tavctl read: cannot write nowhere/t: No such file or directory";
        // Usage.
        QTest::newRow("no verb") << QStringList{} << 2 << "usage: tavctl VERB [options]";
        QTest::newRow("unknown verb") << QStringList{"frob"} << 2 << "tavctl: unknown verb 'frob'";
        QTest::newRow("read without port")
            << QStringList{"read", "-o", "out.tav"} << 2 << "tavctl read: missing --port DEVICE";
        QTest::newRow("read without output")
            << QStringList{"read", "--port", "p"} << 2 << "tavctl read: missing -o FILE";
        QTest::newRow("import without output") << QStringList{"import-csv", "radio.tav", "rows.csv"}
                                               << 2 << "tavctl import-csv: missing -o OUT";
        QTest::newRow("print without file")
            << QStringList{"print", "-o", "out.pdf"} << 2 << "tavctl print: missing FILE";
        QTest::newRow("diff, one operand")
            << QStringList{"diff", "radio.tav"} << 2 << "tavctl diff: missing B";
        QTest::newRow("print, two files")
            << QStringList{"print", "radio.tav", "other.tav", "-o", "out.pdf"} << 2
            << "tavctl print: unexpected argument 'other.tav'";
        QTest::newRow("sim, operand") << QStringList{"sim", "radio.tav"} << 2
                                      << "tavctl sim: unexpected argument 'radio.tav'";
        QTest::newRow("unknown option") << QStringList{"diff", "-x", "radio.tav", "radio.tav"} << 2
                                        << "tavctl diff: unknown option '-x'";
        QTest::newRow("write's option to verify")
            << QStringList{"verify", "--port", "p", "--skip-global", "radio.tav"} << 2
            << "tavctl verify: unknown option '--skip-global'";
        QTest::newRow("-o without value")
            << QStringList{"print", "radio.tav", "-o"} << 2 << "tavctl print: -o needs REPORT.pdf";
        QTest::newRow("value is an option") << QStringList{"read", "--port", "--labels", "-o", "x"}
                                            << 2 << "tavctl read: --port needs DEVICE";
        QTest::newRow("bad count")
            << QStringList{"write", "--port", "p", "--retries", "x", "radio.tav"} << 2
            << "tavctl write: --retries needs a count from 0, not 'x'";
        QTest::newRow("bad count=")
            << QStringList{"verify", "--port=p", "--retries=-1", "radio.tav"} << 2
            << "tavctl verify: --retries needs a count from 0, not '-1'";
        QTest::newRow("flag with value")
            << QStringList{"write", "--port", "p", "--labels=yes", "radio.tav"} << 2
            << "tavctl write: --labels takes no value";
        QTest::newRow("bad switch")
            << QStringList{"read", "--port", "p", "--per-channel-power", "yes", "-o", "x"} << 2
            << "tavctl read: --per-channel-power needs on or off, not 'yes'";
        QTest::newRow("bad byte")
            << QStringList{"sim", "--id", "0x1FF"} << 2
            << "tavctl sim: --id needs a byte value such as 0x40, not '0x1FF'";
        QTest::newRow("bad fault list")
            << QStringList{"sim", "--fault=drop-reply=x"} << 2
            << "tavctl sim: --fault: drop-reply needs a whole number from 1, got 'x' (*";
    }
    void exitStatuses() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, message);
        const Run r = tavctl(args, dir_.path());
        QCOMPARE(r.status, status);
        const QStringList lines = r.err.split('\n', Qt::SkipEmptyParts);
        const QString first = lines.value(0);
        if (message.endsWith('*'))
            QVERIFY2(first.startsWith(message.chopped(1)), qPrintable(r.err));
        else
            QCOMPARE(first, message);
        // A usage error repeats the verb's synopsis, once; any other fault is one line.
        if (status == 2 && first.startsWith("tavctl " + args.value(0) + ':'))
            QCOMPARE(lines.mid(1),
                     QStringList{tavctl({args[0], "--help"}).out.section('\n', 0, 0)});
        else if (status != 2)
            QVERIFY2(lines.size() <= 1, qPrintable(r.err));
        // A command that fails writes nothing.
        const QStringList written = QDir(dir_.path()).entryList({"out.*"});
        if (status != 0) QCOMPARE(written, QStringList());
        for (const QString& f : written) QVERIFY(QFile::remove(dir_.filePath(f)));
    }
};

TAV_TEST_GUILESS(TestUsage);
#include "tst_usage.moc"
