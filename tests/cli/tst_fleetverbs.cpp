#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "TestMain.h"
#include "../files/ImageFixtures.h"
#include "cli/DumpCommand.h"
#include "files/ChannelCsv.h"
#include "files/RadioFile.h"
#include "model/ImageDiff.h"
#include "print/UnitReport.h"

using namespace tav;
using namespace tav::test;

namespace {

struct Run {
    int status = -1;
    QByteArray out, err;
};

Run tavctl(const QStringList& args) {
    QProcess p;
    p.start(qEnvironmentVariable("TAVCTL"), args);
    Run r;
    if (!p.waitForFinished(60000)) return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

// The defaults with a value of each kind changed, so that the golden JSON
// shows every key with something other than its first value.
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

QStringList lines(const QByteArray& text) {
    QStringList l = QString::fromUtf8(text).split(u'\n');
    if (!l.isEmpty() && l.last().isEmpty()) l.removeLast();
    return l;
}

}  // namespace

class TestFleetVerbs : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString sample_, defaults_;

    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

private slots:
    void initTestCase() {
        QVERIFY(!qEnvironmentVariable("TAVCTL").isEmpty());
        sample_ = path("sample.tav");
        defaults_ = path("defaults.tav");
        QVERIFY(WriteRadioFile(sample_, sampleImage()).ok());
        QVERIFY(WriteRadioFile(defaults_, defaultImage()).ok());
    }

    void dumpTextIsThePrintout() {
        const Run r = tavctl({"dump", sample_});
        QCOMPARE(r.status, 0);
        QCOMPARE(lines(r.out), BuildUnitReport(sampleImage(), sample_).plainLines());
    }

    void dumpJsonKeepsItsKeys() {
        const Run r = tavctl({"dump", "--json", sample_});
        QCOMPARE(r.status, 0);
        QFile golden(qEnvironmentVariable("TAV_SOURCE_DIR") + "/tests/data/dump_sample.json");
        if (qEnvironmentVariableIsSet("TAV_UPDATE_GOLDEN")) {
            QVERIFY(golden.open(QIODevice::WriteOnly));
            golden.write(r.out);
            golden.close();
        }
        QVERIFY(golden.open(QIODevice::ReadOnly));
        QCOMPARE(lines(r.out), lines(golden.readAll()));
        QJsonParseError e;
        QJsonDocument::fromJson(r.out, &e);
        QCOMPARE(e.error, QJsonParseError::NoError);
    }

    void diffExitsByOutcome_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::newRow("equal") << QStringList{"diff", "@d", "@d"} << 0;
        QTest::newRow("different") << QStringList{"diff", "@d", "@s"} << 1;
        QTest::newRow("missing file") << QStringList{"diff", "@d", "@missing"} << 3;
        QTest::newRow("short file") << QStringList{"diff", "@short", "@d"} << 3;
        QTest::newRow("one operand") << QStringList{"diff", "@d"} << 2;
        QTest::newRow("unknown option") << QStringList{"diff", "-x", "@d", "@d"} << 2;
        QTest::newRow("import without output") << QStringList{"import-csv", "@d", "@d"} << 2;
    }
    void diffExitsByOutcome() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFile shortFile(path("short.tav"));
        QVERIFY(shortFile.open(QIODevice::WriteOnly));
        shortFile.write(QByteArray(100, 0));
        shortFile.close();
        for (QString& a : args) {
            if (a == "@d") a = defaults_;
            if (a == "@s") a = sample_;
            if (a == "@missing") a = path("missing.tav");
            if (a == "@short") a = shortFile.fileName();
        }
        const Run r = tavctl(args);
        QCOMPARE(r.status, status);
        if (status == 1) QCOMPARE(lines(r.out), CompareImages(defaultImage(), sampleImage()));
        if (status == 0) QVERIFY(r.out.isEmpty());
        if (status >= 2) QVERIFY(!r.err.isEmpty());
    }

    void exportCsvToStdoutAndFile() {
        const Run r = tavctl({"export-csv", sample_});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, ExportChannelCsv(sampleImage()));
        QCOMPARE(tavctl({"export-csv", sample_, "-o", path("sample.csv")}).status, 0);
        QFile f(path("sample.csv"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), r.out);
    }

    void importCsvRoundTripIsByteIdentical() {
        QCOMPARE(tavctl({"export-csv", sample_, "-o", path("rt.csv")}).status, 0);
        const Run r = tavctl({"import-csv", sample_, path("rt.csv"), "-o", path("rt.tav")});
        QCOMPARE(r.status, 0);
        QFile a(sample_), b(path("rt.tav"));
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QCOMPARE(b.readAll(), a.readAll());
    }

    void importCsvAppliesRows() {
        QFile csv(path("edit.csv"));
        QVERIFY(csv.open(QIODevice::WriteOnly));
        csv.write("Group,Channel,Rx Freq\n3,5,155.13\n");
        csv.close();
        const Run r = tavctl({"import-csv", defaults_, csv.fileName(), "-o", path("edit.tav")});
        QCOMPARE(r.status, 0);
        QCOMPARE(tavctl({"diff", defaults_, path("edit.tav")}).out,
                 QByteArray("group 3 channel 5 Rx Freq: 162.42000 -> 155.13000\n"));
    }

    void badCsvWritesNothing() {
        QFile csv(path("bad.csv"));
        QVERIFY(csv.open(QIODevice::WriteOnly));
        csv.write("Group,Channel,Rx Freq,Label\n1,1,180,OK\n1,2,155,TOO LONG!\n");
        csv.close();
        const Run r = tavctl({"import-csv", defaults_, csv.fileName(), "-o", path("bad.tav")});
        QCOMPARE(r.status, 3);
        const QString prefix = csv.fileName() + ": ";
        QCOMPARE(lines(r.err),
                 (QStringList{prefix + "line 2: Rx Freq \"180\": outside the band 143 to 174 MHz",
                              prefix + "line 3: Label \"TOO LONG!\": \"!\" is not a character of "
                                       "the radio's display",
                              "tavctl: nothing written"}));
        QVERIFY(!QFile::exists(path("bad.tav")));
    }
};

TAV_TEST_GUILESS(TestFleetVerbs);
#include "tst_fleetverbs.moc"
