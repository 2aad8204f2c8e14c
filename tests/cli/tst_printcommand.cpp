#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "TestMain.h"
#include "files/RadioFile.h"
#include "model/LabelText.h"
#include "model/MGlobals.h"

using namespace tav;

namespace {

uint8_t& groupByte(AppState& s, int g, int a) {
    return s.EEImage[(g + 1) * kPageSize + a];
}

void setChannel(AppState& s, int g, int c, const QString& rx, const QString& rxCg,
                const QString& tx, const QString& txCg) {
    const int a = 16 + 8 * c;
    QVERIFY(FreqTextToBytes(rx, groupByte(s, g, a), groupByte(s, g, a + 1)));
    QVERIFY(CGTextToBytes(rxCg, groupByte(s, g, a + 2), groupByte(s, g, a + 3)));
    QVERIFY(FreqTextToBytes(tx, groupByte(s, g, a + 4), groupByte(s, g, a + 5)));
    QVERIFY(CGTextToBytes(txCg, groupByte(s, g, a + 6), groupByte(s, g, a + 7)));
}

// A radio with something different in every group.
AppState variedRadio() {
    AppState s;
    s.LabelImage.fill(0xFF);  // every label empty
    s.EEImage[6] = 0x2D;
    s.EEImage[7] = 0x1A;
    s.EEImage[11] = 0x38;
    s.EEImage[12] = 0x19;
    s.EEImage[13] = 0x02;
    groupByte(s, 0, 2) = 0x35;                          // timer 75, hold 1.5
    s.label(0, kBacklightSlot, kBacklightCell) = 0x91;  // channel change, keypress, alpha
    for (int g = 1; g < kGroupCount; ++g) {
        StoreLabelText(s, g, kGroupLabelSlot, QStringLiteral("GROUP%1").arg(g + 1));
        for (int c = 0; c < kChannelsPerGroup; ++c) {
            setChannel(s, g, c, QString::number(150.0 + g + c * 0.0125, 'f', 5), "D023-",
                       QString::number(155.0 + g + c * 0.0125, 'f', 5), "127.3");
            StoreLabelText(s, g, c, QStringLiteral("G%1C%2").arg(g + 1).arg(c + 1));
        }
        groupByte(s, g, 1) = 0x55;
        s.EEImage[37 + 2 * g] = 0xAA;
        s.PowerMask[g] = 0x3F;
    }
    return s;
}

struct Run {
    int exitCode = -1;
    QString err;
};

Run tavctl(const QStringList& args, const QString& workDir) {
    QProcess p;
    p.setWorkingDirectory(workDir);
    p.start(qEnvironmentVariable("TAVCTL"), args);
    Run r;
    if (!p.waitForFinished(60000)) return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    // Only our own lines: the platform may add notes of its own (a missing
    // runtime folder when there is no login session).
    for (const QString& line : QString::fromLocal8Bit(p.readAllStandardError()).split('\n'))
        if (line.startsWith("tavctl") || line.startsWith("usage:")) r.err += line + '\n';
    return r;
}

QStringList pdfLines(const QString& pdf, int* pages) {
    QProcess p;
    p.start(QStandardPaths::findExecutable("pdftotext"), {"-layout", pdf, "-"});
    p.waitForFinished(30000);
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    *pages = int(text.count(QLatin1Char('\f')));
    QStringList lines;  // runs of blanks depend on the layout; the words do not
    for (const QString& l : text.split('\n')) lines << l.simplified();
    return lines;
}

}  // namespace

class TestPrintCommand : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (qEnvironmentVariableIsEmpty("TAVCTL")) QSKIP("TAVCTL is not set");
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext is not installed");
    }

    void writesTheWholePrintout() {
        QTemporaryDir dir;
        QVERIFY(WriteRadioFile(dir.filePath("radio.tav"), variedRadio()).ok());
        const Run r = tavctl({"print", "radio.tav", "-o", "report.pdf"}, dir.path());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.err, QString());
        int pages = 0;
        const QStringList lines = pdfLines(dir.filePath("report.pdf"), &pages);
        QCOMPARE(pages, 8);
        QVERIFY(lines.contains("TAV Unit Data Printout radio.tav"));
        QVERIFY(lines.contains("Time Out Timer = 75 Scan Hold Time = 1.5"));
        QVERIFY(lines.contains("Backlight on Channel Change, Keypress"));
        QVERIFY(lines.contains("Bank Scan is Enabled Unit Password = 381902"));
        // An empty group label prints " BLANK! ", an empty channel label "BLANK!".
        QVERIFY(lines.contains("ANI/ID Number: 0000000 Group Label: BLANK!"));
        QVERIFY(lines.contains("14 none 000.0 none 000.0 BLANK!"));
        QVERIFY(lines.contains("ANI/ID Number: 0000000 Group Label: GROUP15"));
        QVERIFY(lines.contains("1 164.00000 D023- 169.00000 127.3 G15C1 S"));
        QVERIFY(lines.contains("14 164.16250 D023- 169.16250 127.3 G15C14 L"));
        // The longest lines fit across A4 paper, each on one line.
        QVERIFY(
            lines.contains("Global Battery Saver is Enabled Display Frequencies Only is Disabled "
                           "Per Channel Bandwidth is Enabled"));
        QVERIFY(
            lines.contains("User Code Guard is Disabled User code Guard Channel: OFF User Code "
                           "Guard Encode Only: No"));
        QVERIFY(lines.contains("Chan Rec Freq Rec CG Tx Freq Tx CG Label Scan Narrow Low Power"));
    }

    void longFileNameStaysOnThePage() {
        QTemporaryDir dir;
        const QString deep = "a-rather-long-folder-name-for-the-bench-files/another-level-down";
        QVERIFY(QDir(dir.path()).mkpath(deep));
        const QString file = deep + "/north-district-repeater-fleet-radio.tav";
        QVERIFY(WriteRadioFile(dir.filePath(file), variedRadio()).ok());
        QCOMPARE(tavctl({"print", file, "--output", "r.pdf"}, dir.path()).exitCode, 0);
        int pages = 0;
        const QStringList lines = pdfLines(dir.filePath("r.pdf"), &pages);
        QCOMPARE(pages, 8);
        // The name wraps below the title rather than running off the paper.
        const int title = lines.indexOf(QRegularExpression("^TAV Unit Data Printout .*"));
        QVERIFY(title >= 0);
        const int unit = lines.indexOf("Unit Global Data");
        QVERIFY(unit > title + 1);
        QCOMPARE(lines.mid(title, unit - title).join(QString()).remove(' '),
                 QString("TAVUnitDataPrintout" + file));
    }

    void failures_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("no arguments") << QStringList{"print"} << 2 << "no radio file given";
        QTest::newRow("no output") << QStringList{"print", "radio.tav"} << 2 << "no output file";
        QTest::newRow("-o without a name")
            << QStringList{"print", "radio.tav", "-o"} << 2 << "-o needs a file name";
        QTest::newRow("unknown option")
            << QStringList{"print", "radio.tav", "-x", "-o", "r.pdf"} << 2 << "unknown option '-x'";
        QTest::newRow("two files")
            << QStringList{"print", "a.tav", "b.tav", "-o", "r.pdf"} << 2 << "one radio file only";
        QTest::newRow("missing file") << QStringList{"print", "missing.tav", "-o", "r.pdf"} << 3
                                      << "cannot read 'missing.tav'";
        QTest::newRow("short file") << QStringList{"print", "short.tav", "-o", "r.pdf"} << 3
                                    << "'short.tav' is not a radio file: it holds 100 bytes";
        QTest::newRow("a folder") << QStringList{"print", "folder", "-o", "r.pdf"} << 3
                                  << "'folder' is not a file";
        QTest::newRow("unwritable output")
            << QStringList{"print", "radio.tav", "-o", "nowhere/r.pdf"} << 3
            << "cannot write 'nowhere/r.pdf'";
    }
    void failures() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QVERIFY(WriteRadioFile(dir.filePath("radio.tav"), AppState()).ok());
        QFile shortFile(dir.filePath("short.tav"));
        QVERIFY(shortFile.open(QIODevice::WriteOnly) && shortFile.write(QByteArray(100, 0)) == 100);
        shortFile.close();
        QVERIFY(QDir(dir.path()).mkdir("folder"));
        const Run r = tavctl(args, dir.path());
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.err.startsWith("tavctl print: " + message), qPrintable(r.err));
        QCOMPARE(r.err.count("tavctl print: "), 1);
        QVERIFY(!QFile::exists(dir.filePath("r.pdf")));
    }
};

TAV_TEST_GUILESS(TestPrintCommand);
#include "tst_printcommand.moc"
