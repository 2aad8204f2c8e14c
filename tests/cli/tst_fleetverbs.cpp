// The verbs that work on radio files, run as the real tavctl: what each one
// writes, to the byte, and the printout's PDF.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include "../e2e/E2eSupport.h"
#include "Fixtures.h"
#include "TestMain.h"
#include "files/ChannelCsv.h"
#include "files/RadioFile.h"
#include "print/UnitReport.h"

using namespace tav;
using namespace tav::test;

namespace {

// The defaults with a value of each kind changed, so that the dump shows
// every key with something other than its first value.
AppState sampleImage() {
    AppState s = defaultImage();
    s.EEImage[6] = 0x8D;
    s.EEImage[7] = 0x0E;
    s.EEImage[11] = 0x12;
    groupByte(s, 0, 0) = 0xC1;
    groupByte(s, 0, 3) = 0x7D;
    groupByte(s, 0, 4) = 0x9A;
    groupByte(s, 0, 16) = 0xD5;
    groupByte(s, 0, 17) = 0x12;
    groupByte(s, 0, 18) = 0xC8;
    groupByte(s, 0, 19) = 0x13;
    s.label(0, 15, 7) = 0xF7;
    s.PowerMask[15] = 0xFE;
    return s;
}

// The row of channel `channel` in group `group`'s table, blanks run together.
QString channelRow(const QStringList& lines, int group, int channel) {
    const qsizetype heading =
        lines.indexOf(QRegularExpression(QStringLiteral("^\\s*Group %1 Data$").arg(group)));
    for (qsizetype i = heading + 1; heading >= 0 && i < lines.size(); ++i)
        if (lines[i].simplified().startsWith(QStringLiteral("%1 ").arg(channel)))
            return lines[i].simplified();
    return {};
}

QStringList lines(const QString& text) {
    QStringList l = text.split(u'\n');
    if (!l.isEmpty() && l.last().isEmpty()) l.removeLast();
    return l;
}

QString fileText(const QString& path) {
    return QString::fromUtf8(readFile(path));
}

}  // namespace

class TestFleetVerbs : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString sample_;
    QStringList powerDump_, powerPdf_;  // made once

    QString path(const QString& name) const { return dir_.filePath(name); }

private slots:
    void initTestCase() {
        QVERIFY(!tavctlPath().isEmpty());
        // The printout's platform would otherwise add a note of its own on stderr.
        qputenv("XDG_RUNTIME_DIR", dir_.path().toUtf8());
        sample_ = path("sample.tav");
        QVERIFY(WriteRadioFile(sample_, sampleImage()).ok());
    }

    void dumpTextIsThePrintout() {
        const Run r = tavctl({"dump", sample_});
        QCOMPARE(r.status, 0);
        QCOMPARE(lines(r.out), BuildUnitReport(sampleImage(), sample_).plainLines());
    }

    // The layout and keys from the start to group 1's second channel, and
    // group 15's last channel; every group and channel between has the same keys.
    void dumpJsonKeepsItsKeys() {
        const Run r = tavctl({"dump", "--json", sample_});
        QCOMPARE(r.status, 0);
        const QStringList excerpt = lines(
            fileText(qEnvironmentVariable("TAV_SOURCE_DIR") + "/tests/data/dump_excerpt.txt"));
        const qsizetype gap = excerpt.indexOf("...");
        QVERIFY(gap > 0);
        const QStringList out = lines(r.out);
        QCOMPARE(out.first(gap), excerpt.first(gap));
        QCOMPARE(out.last(excerpt.size() - gap - 1), excerpt.sliced(gap + 1));
        const QJsonArray groups =
            QJsonDocument::fromJson(r.out.toUtf8()).object()["groups"].toArray();
        QCOMPARE(groups.size(), kGroupCount);
        const QJsonObject first = groups[0].toObject();
        const QStringList channelKeys = first["channels"][0].toObject().keys();
        for (int g = 0; g < kGroupCount; ++g) {
            QCOMPARE(groups[g].toObject().keys(), first.keys());
            QCOMPARE(groups[g]["number"].toInt(), g + 1);
            const QJsonArray channels = groups[g]["channels"].toArray();
            QCOMPARE(channels.size(), kChannelsPerGroup);
            for (int c = 0; c < kChannelsPerGroup; ++c) {
                QCOMPARE(channels[c].toObject().keys(), channelKeys);
                QCOMPARE(channels[c]["channel"].toInt(), c + 1);
            }
        }
    }

    // "L" where the window shows Low Power (the power bit clear); nothing in
    // group 15, whatever its bits (here set and clear side by side).
    // Group|channel|the row's last word.
    void lowPowerColumn_data() { textRows("1|1|Ch;1|2|L;14|9|L;14|10|Ch;15|1|Ch;15|14|Ch"); }
    void lowPowerColumn() {
        QFETCH(QStringList, row);
        if (powerDump_.isEmpty()) {
            AppState s = defaultImage();                     // every channel on high power
            s.PowerMask[15] = 0xFD, s.PowerMask[13] = 0xFE;  // 1: channel 2, 14: channel 9 low
            s.PowerMask[14] = 0x00, s.PowerMask[29] = 0xFF;  // 15: 9 to 14 clear, 1 to 8 set
            const QString file = path("power.tav");
            QVERIFY(WriteRadioFile(file, s).ok());
            powerDump_ = lines(tavctl({"dump", file}).out);
            QCOMPARE(tavctl({"print", file, "-o", path("power.pdf")}).status, 0);
            powerPdf_ = lines(pdfToText(path("power.pdf")));
        }
        const QString last = row[2] == "Ch" ? "Ch " + row[1] : row[2];
        QVERIFY(channelRow(powerDump_, row[0].toInt(), row[1].toInt()).endsWith(last));
        if (powerPdf_.isEmpty()) QSKIP("pdftotext is not installed");
        QVERIFY(channelRow(powerPdf_, row[0].toInt(), row[1].toInt()).endsWith(last));
    }

    void exportCsvToStdoutAndFile() {
        const Run r = tavctl({"export-csv", sample_});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QString::fromUtf8(ExportChannelCsv(sampleImage())));
        QCOMPARE(tavctl({"export-csv", "--output=" + path("sample.csv"), sample_}).status, 0);
        QCOMPARE(fileText(path("sample.csv")), r.out);
    }

    // The rows change their fields; every other byte of the file stays.
    void importCsvAppliesRows() {
        QVERIFY(writeFile(path("edit.csv"), "Group,Channel,Rx Freq\n3,5,155.13\n"));
        Run r = tavctl({"import-csv", sample_, path("edit.csv"), "-o", path("edit.tav")});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QString("1 rows read, 1 channel fields changed\n"));
        r = tavctl({"diff", sample_, path("edit.tav")});
        QCOMPARE(r.status, 1);
        QCOMPARE(r.out, QString("group 3 channel 5 Rx Freq: 162.42000 -> 155.13000\n"));
    }

    // Fields by name: what set says it changed and what get then prints.
    void setThenGet_data() {
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QString>("values");
        QTest::addColumn<int>("changed");
        const auto row = [](const char* name, const QStringList& edits, const QStringList& paths,
                            const QString& values, int changed) {
            QTest::newRow(name) << edits << paths << values << changed;
        };
        row("list entry", {"group.3.time_out_timer=60"}, {"group.3.time_out_timer"}, "60", 1);
        row("any letter case", {"group.3.busy_channel_indicator=lockout"},
            {"group.3.busy_channel_indicator"}, "Lockout", 1);
        row("every group", {"group.*.ani_id=12ab"}, {"group.1.ani_id", "group.15.ani_id"},
            "00012AB 00012AB", 15);
        row("every channel", {"group.2.channel.*.scan=true"}, {"group.2.channel.*.scan"},
            QStringList(14, "1").join(' '), 14);
        row("every powered group", {"group.*.channel.1.low_power=1"},
            {"group.*.channel.1.low_power"}, QStringList(14, "1").join(' '), 13);
        row("short frequency", {"group.1.channel.2.rx_freq=155.125"}, {"group.1.channel.2.rx_freq"},
            "155.12500", 1);
        row("same value in other words", {"group.1.channel.1.rx_freq=155.125", "unit.ani_rate=20"},
            {"group.1.channel.1.rx_freq"}, "155.12500", 0);
        row("read-only as it is", {"unit.per_channel_bandwidth=true"},
            {"unit.per_channel_bandwidth"}, "1", 0);
        row("the last one wins", {"group.1.label=FIRST", "group.1.label=second"},
            {"group.1.label", "unit.password"}, "SECOND   120000", 1);
    }
    void setThenGet() {
        QFETCH(QStringList, edits);
        QFETCH(QStringList, paths);
        QFETCH(QString, values);
        QFETCH(int, changed);
        const QString file = path("set.tav");
        QFile::remove(file);
        QVERIFY(QFile::copy(sample_, file));
        const Run set = tavctl(QStringList{"set", file} + edits);
        QCOMPARE(set.err, QString());
        QCOMPARE(set.out, QString("%1 fields changed\n").arg(changed));
        const Run get = tavctl(QStringList{"get", file} + paths);
        QCOMPARE(get.status, 0);
        QCOMPARE(lines(get.out).join(' '), values);
        if (changed == 0) QCOMPARE(readFile(file), readFile(sample_));
    }

    // Only the fields' own bits change, and the file is saved whole.
    void setChangesOnlyItsBits() {
        const QString file = path("bits.tav");
        QVERIFY(QFile::copy(sample_, file));
        QCOMPARE(tavctl({"set", file, "group.3.time_out_timer=60", "group.1.channel.14.narrow=1",
                         "group.2.channel.9.low_power=1"})
                     .status,
                 0);
        AppState want = sampleImage();
        groupByte(want, 2, 2) = uint8_t((groupByte(want, 2, 2) & 0xF0) | 0x04);
        want.EEImage[36] |= 0x20;
        want.PowerMask[1] &= uint8_t(~0x01);
        QCOMPARE(readFile(file), SerializeRadioFile(want));
    }

    // A dump applied to another radio of the same factory setting makes
    // every field equal.
    void dumpAppliesToAnotherRadio() {
        AppState other = defaultImage();
        other.EEImage[6] = 0x04;
        const QString file = path("other.tav");
        QVERIFY(WriteRadioFile(file, other).ok());
        const Run dump = tavctl({"dump", "--json", sample_});
        const Run apply = tavctl({"apply", file, "-"}, QString(), {}, dump.out.toUtf8());
        QCOMPARE(apply.err, QString());
        QCOMPARE(apply.status, 0);
        const Run diff = tavctl({"diff", sample_, file});
        QCOMPARE(diff.out, QString());
        QCOMPARE(diff.status, 0);
        QCOMPARE(tavctl({"apply", file, "-"}, QString(), {}, dump.out.toUtf8()).out,
                 QString("0 fields changed\n"));
    }

    // Eight pages; the longest lines fit across A4 paper, each on one line,
    // and a long file name wraps below the title rather than run off the paper.
    void printWritesThePdf() {
        const QString deep = "a-rather-long-folder-name-for-the-bench-files/another-level-down";
        QVERIFY(QDir(dir_.path()).mkpath(deep));
        const QString file = deep + "/north-district-repeater-fleet-radio.tav";
        QVERIFY(WriteRadioFile(path(file), sampleImage()).ok());
        const Run r = tavctl({"print", file, "--output", "r.pdf"}, dir_.path());
        QCOMPARE(r.status, 0);
        QCOMPARE(r.err, QString());
        const QString text = pdfToText(path("r.pdf"));
        if (text.isNull()) QSKIP("pdftotext is not installed");
        QCOMPARE(text.count(u'\f'), 8);
        QStringList printed;  // runs of blanks depend on the layout; the words do not
        for (const QString& l : text.split(u'\n')) printed << l.simplified();
        const int title = printed.indexOf(QRegularExpression("^TAV Unit Data Printout .*"));
        const int unit = printed.indexOf("Unit Global Data");
        QVERIFY(title >= 0 && unit > title + 1);
        QCOMPARE(printed.mid(title, unit - title).join(QString()).remove(u' '),
                 "TAVUnitDataPrintout" + file);
        for (const char* line :
             {"Global Battery Saver is Inhibited Display Frequencies Only is Disabled Per Channel "
              "Bandwidth is Enabled",
              "User Code Guard is Enabled User code Guard Channel: OFF User Code Guard Encode "
              "Only: No",
              "Chan Rec Freq Rec CG Tx Freq Tx CG Label Scan Narrow Low Power"})
            QVERIFY2(printed.contains(line), line);
    }
};

TAV_TEST_GUILESS(TestFleetVerbs);
#include "tst_fleetverbs.moc"
