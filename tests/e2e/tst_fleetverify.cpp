// `tavctl verify` and `tavctl write --verify` against `tavctl sim` on a
// pseudo-terminal: the radio read as `tavctl read` reads it, compared as
// `tavctl diff` compares.

#include <QTemporaryDir>
#include <QtTest>

#include "TestMain.h"
#include "E2eSupport.h"
#include "files/RadioFile.h"
#include "model/MGlobals.h"

using namespace tav;
using namespace tav::test;

class TestFleetVerify : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

private slots:
    void verifyAfterReadWriteAndChange() {
        Simulator sim;
        QVERIFY(!sim.device.isEmpty());
        QCOMPARE(tavctl({"read", "--port", sim.device, "-o", path("radio.tav")}).status, 0);

        Run r = tavctl({"verify", "--port", sim.device, path("radio.tav")});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QString());

        // A changed channel and a changed byte no field decodes; the file's
        // element 2048 is no part of the radio.
        AppState radio;
        QVERIFY(ReadRadioFile(path("radio.tav"), radio).ok());
        AppState changed = radio;
        changed.EEImage[2 * 128 + 16] = 0x55;  // group 2 channel 1 Rx Freq
        changed.EEImage[2 * 128 + 17] = 0x12;
        changed.EEImage[2 * 128 + 9] ^= 0x01;  // never written
        changed.EEImage[2048] ^= 0xFF;
        QVERIFY(WriteRadioFile(path("changed.tav"), changed).ok());
        r = tavctl({"verify", "--port", sim.device, path("changed.tav")});
        QCOMPARE(r.status, 4);
        const int was = radio.EEImage[2 * 128 + 9];
        QCOMPARE(r.out,
                 QStringLiteral("group 2 channel 1 Rx Freq: 155.12000 -> %1\n")
                         .arg(FreqBytesToText(radio.EEImage[256 + 16], radio.EEImage[256 + 17])) +
                     QString::asprintf("byte 0x109: 0x%02X -> 0x%02X\n", was ^ 1, was));

        // Written and read back: what the write may change now matches; the
        // never-written byte is not held against the write.
        r = tavctl({"write", "--port", sim.device, "--verify", path("changed.tav")});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QString());
        r = tavctl({"verify", "--port", sim.device, path("changed.tav")});
        QCOMPARE(r.status, 4);
        QCOMPARE(r.out.split(u'\n', Qt::SkipEmptyParts).size(), 1);  // byte 0x109 only
    }

    void verifyUsageAndFileErrors_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::newRow("no file") << QStringList{"verify", "--port", "/dev/null"} << 2;
        QTest::newRow("missing file")
            << QStringList{"verify", "--port", "p", "/nonexistent/x.tav"} << 3;
        QTest::newRow("no such port")
            << QStringList{"verify", "--port", "/nonexistent/tty", "@f"} << 1;
    }
    void verifyUsageAndFileErrors() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QVERIFY(WriteRadioFile(path("f.tav"), AppState()).ok());
        args.replaceInStrings("@f", path("f.tav"));
        const Run r = tavctl(args);
        QCOMPARE(r.status, status);
        QVERIFY(!r.err.isEmpty());
    }
};

TAV_TEST_GUILESS(TestFleetVerify);
#include "tst_fleetverify.moc"
