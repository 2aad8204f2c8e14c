#include <QTemporaryDir>
#include <QtTest>

#include "Fixtures.h"
#include "TestMain.h"
#include "files/ChannelCsv.h"
#include "files/CsvText.h"
#include "files/RadioFile.h"

using namespace tav;
using namespace tav::test;
Q_DECLARE_METATYPE(tav::AppState)

namespace {

const QByteArray kHeader =
    "Group,Channel,Rx Freq,Rx CG,Tx Freq,Tx CG,Label,Scan,Narrow,Low Power\r\n";

// Row `n` (0-based) of an export, split into fields.
QStringList exportedRow(const AppState& s, int n) {
    const CsvTable t = ParseCsv(QString::fromUtf8(ExportChannelCsv(s)));
    return t.records.at(std::size_t(n) + 1).fields;
}

}  // namespace

class TestChannelCsv : public QObject {
    Q_OBJECT

private slots:
    // A file of a header and a row per channel; a file that cannot be made says why.
    void exportHasAHeaderAndOneRowPerChannel() {
        QTemporaryDir dir;
        QString why;
        QVERIFY(ExportChannelCsvFile(defaultImage(), dir.filePath("radio.csv"), why));
        QVERIFY(!ExportChannelCsvFile(defaultImage(), dir.filePath("no/such/folder.csv"), why));
        QVERIFY(!why.isEmpty());
        const QByteArray csv = readFile(dir.filePath("radio.csv"));
        QVERIFY(csv.startsWith(kHeader));
        QCOMPARE(csv.count("\r\n"), 1 + 15 * 14);
        QVERIFY(csv.contains("\r\n1,1,162.40000,000.0,none,000.0,\"Ch  1   \",0,0,0\r\n"));
        QVERIFY(csv.contains("\r\n15,14,162.46500,000.0,none,000.0,\"Ch  14  \",0,0,\r\n"));
    }

    // Export then import changes no byte, whatever the image holds: values the
    // grid could never produce are taken as they stand.
    void roundTripIsByteIdentical_data() {
        QTest::addColumn<AppState>("image");
        QTest::newRow("defaults") << defaultImage();
        QTest::newRow("zeros") << AppState();
        AppState ff;
        ff.EEImage.fill(0xFF);
        ff.LabelImage.fill(0xFF);
        ff.PowerMask.fill(0xFF);
        QTest::newRow("all FF") << ff;
        for (quint32 seed : {1u, 2u, 3u, 4u})
            QTest::newRow(qPrintable(QStringLiteral("random %1").arg(seed))) << randomImage(seed);
    }
    void roundTripIsByteIdentical() {
        QFETCH(AppState, image);
        AppState after = image;
        const CsvImportResult r = ImportChannelCsv(after, ExportChannelCsv(image));
        QCOMPARE(r.errors, QStringList());
        QCOMPARE(r.rows, 210);
        QCOMPARE(r.changedFields, 0);
        QCOMPARE(SerializeRadioFile(after), SerializeRadioFile(image));
    }

    // Columns by name in any order; a column left out keeps every value; only
    // the changed field's bits move.
    void changesOnlyTheGivenFields() {
        const AppState before = defaultImage();
        AppState after = before;
        const CsvImportResult r = ImportChannelCsv(
            after, "channel,TX FREQ,Group,Scan\r\n5,155.12500,3,S\n1,155025,1,0\n");
        QCOMPARE(r.errors, QStringList());
        QCOMPARE(r.changedFields, 3);
        const int a = 16 + 8 * 4;
        QCOMPARE(groupByte(after, 2, a + 4), uint8_t(0xD5));
        QCOMPARE(groupByte(after, 2, a + 5), uint8_t(0x12));
        QCOMPARE(groupByte(after, 0, 16 + 4), uint8_t(0xD5));  // 155.025
        QCOMPARE(groupByte(after, 0, 16 + 5), uint8_t(0x02));
        AllowedBits ok;
        ok.eeBits(3, a + 4, 0xFF).eeBits(3, a + 5, 0xFF).eeBits(3, 1, 0x10);
        ok.eeBits(1, 20, 0xFF).eeBits(1, 21, 0xFF);
        QCOMPARE(strayChanges(before, after, ok), QString());
    }

    void eachColumnGoesThroughItsCodec_data() {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QStringList>("row");  // group 2 channel 10 after the import
        const QStringList base = exportedRow(defaultImage(), 14 + 9);
        const auto with = [&](int column, const char* value) {
            QStringList r = base;
            r[column] = QString::fromUtf8(value);
            return r;
        };
        const auto csv = [](const char* header, const char* value) {
            return QByteArray("Group,Channel,") + header + "\n2,10," + value + "\n";
        };
        QTest::newRow("rx freq") << csv("Rx Freq", "155.00625") << with(2, "155.00625");
        QTest::newRow("rx freq empty") << csv("Rx Freq", "") << with(2, "none");
        QTest::newRow("rx cg digital") << csv("Rx CG", "d754") << with(3, "D754");
        QTest::newRow("tx cg inverted") << csv("Tx CG", "D023-") << with(5, "D023-");
        QTest::newRow("tx freq") << csv("Tx Freq", "162.55") << with(4, "162.55000");
        QTest::newRow("label") << csv("Label", "fire.2") << with(6, "FIRE.2   ");
        QTest::newRow("scan Y") << csv("Scan", "Y") << with(7, "1");
        QTest::newRow("narrow y") << csv("Narrow", "y") << with(8, "1");
        QTest::newRow("low power L") << csv("Low Power", "L") << with(9, "1");
        QTest::newRow("low power N") << csv("Low Power", "N") << base;
        QTest::newRow("BOM, CRLF, quotes, blank lines")
            << QByteArray("\xef\xbb\xbf\"Group\",Channel,Label\r\n\r\n\"2\",10,\"A.B.C\"\r\n\r\n")
            << with(6, "A.B.C     ");
    }
    void eachColumnGoesThroughItsCodec() {
        QFETCH(QByteArray, csv);
        QFETCH(QStringList, row);
        AppState s = defaultImage();
        QCOMPARE(ImportChannelCsv(s, csv).errors, QStringList());
        QCOMPARE(exportedRow(s, 14 + 9), row);
    }

    // A low-power box clears the channel's high-power bit; group 15 has none.
    void lowPowerIsTheCheckBox() {
        AppState s = defaultImage();
        s.PowerMask[15] = 0xFC;  // channels 1 and 2 on low power
        s.PowerMask[14] = 0x5A;
        const QByteArray csv = "Group,Channel,Low Power\n1,1,1\n1,9,L\n1,2,0\n15,1,0\n15,9,\n";
        QCOMPARE(ImportChannelCsv(s, csv).errors, QStringList());
        QCOMPARE(s.PowerMask[15], uint8_t(0xFE));  // channel 1: second byte, bit 0
        QCOMPARE(s.PowerMask[0], uint8_t(0xFE));   // channel 9: first byte, bit 0
        QCOMPARE(s.PowerMask[14], uint8_t(0x5A));
        QCOMPARE(s.PowerMask[29], uint8_t(0xFF));
    }

    // Every bad row is listed with its line and why; nothing changes.
    void badRowsAreAllListed_data() {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QStringList>("errors");
        QTest::newRow("every kind of bad value")
            << QByteArray(kHeader +
                          "1,1,180,,,,,,,\r\n"             // line 2
                          "1,2,155.003125,,,,,,,\r\n"      // 3
                          "1,3,abc,,,,,,,\r\n"             // 4
                          "1,4,155.0025,,,,,,,\r\n"        // 5
                          "1,5,,67.05,,D089,,,,\r\n"       // 6
                          "1,6,,,,,ABCDEFGHI,,,\r\n"       // 7
                          "1,7,,,,,ab\xc3\xa9,,,\r\n"      // 8
                          "1,8,,,,,,X,N,2\r\n"             // 9
                          "15,1,,,,,,,,1\r\n"              // 10
                          "16,0,,,,,,,,\r\n"               // 11
                          "x,1,,,,,,,,\r\n"                // 12
                          "1,9,,,,\r\n"                    // 13
                          "1,1,,,,,,,,\r\n"                // 14
                          "1,10,,,1234.5678901,,,,,\r\n")  // 15
            << QStringList{
                   "line 2: Rx Freq \"180\": outside the band 143 to 174 MHz",
                   "line 3: Rx Freq \"155.003125\": not on the 2.5 kHz or 6.25 kHz channel raster",
                   "line 4: Rx Freq \"abc\": not a frequency in MHz",
                   "line 5: Rx Freq \"155.0025\": the radio cannot hold this frequency (5 kHz "
                   "steps, or 6.25 kHz and 12.5 kHz offsets)",
                   "line 6: Rx CG \"67.05\": not a channel guard (a tone such as 067.0 below 800 "
                   "Hz, or a digital code such as D023 or D023-)",
                   "line 6: Tx CG \"D089\": not a channel guard (a tone such as 067.0 below 800 "
                   "Hz, or a digital code such as D023 or D023-)",
                   "line 7: Label \"ABCDEFGHI\": longer than 8 display cells",
                   "line 8: Label \"ab\u00e9\": \"\u00e9\" is not a character of the radio's "
                   "display",
                   "line 9: Scan \"X\": not a flag (\"\", 0, 1, Y, N or S)",
                   "line 9: Narrow \"N\": \"N\" could mean narrow or no: write 1 or 0",
                   "line 9: Low Power \"2\": not a flag (\"\", 0, 1, Y, N or L)",
                   "line 10: Low Power \"1\": group 15 has no low power setting",
                   "line 11: Group \"16\": not a number from 1 to 15",
                   "line 11: Channel \"0\": not a number from 1 to 14",
                   "line 12: Group \"x\": not a number from 1 to 15",
                   "line 13: 6 fields where the header has 10",
                   "line 14: group 1 channel 1 is already given on line 2",
                   "line 15: Tx Freq \"1234.5678901\": too many digits",
               };
        QTest::newRow("header without Group and with an unknown column")
            << QByteArray("Channel,Rx Freqs,Channel\n1,2,3\n")
            << QStringList{"line 1: unknown column \"Rx Freqs\"",
                           "line 1: column \"Channel\" given twice", "line 1: no \"Group\" column"};
        QTest::newRow("bad quoting, lines counted across quoted breaks")
            << QByteArray("Group,Channel,Label\n1,1,\"A\nB\"\n1,2,A\"B\n1,3,\"A\"B\n1,4,\"AB")
            << QStringList{
                   "line 2: Label \"A\nB\": \"\n\" is not a character of the radio's "
                   "display",
                   "line 4: quote inside an unquoted field", "line 5: text after a closing quote",
                   "line 6: quoted field not closed"};
        QTest::newRow("empty") << QByteArray() << QStringList{"line 1: no header row"};
        QTest::newRow("not UTF-8")
            << QByteArray("Group,Channel\n1,\xff\n") << QStringList{"the text is not UTF-8"};
    }
    void badRowsAreAllListed() {
        QFETCH(QByteArray, csv);
        QFETCH(QStringList, errors);
        AppState s = defaultImage();
        const QByteArray before = SerializeRadioFile(s);
        const CsvImportResult r = ImportChannelCsv(s, csv);
        QCOMPARE(r.errors, errors);
        QCOMPARE(r.changedFields, 0);
        QCOMPARE(SerializeRadioFile(s), before);
    }

    void csvFieldsAreQuotedWhenNeeded_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("written");
        const auto row = [](const char* name, const char* value, const char* written) {
            QTest::newRow(name) << QString(value) << QString(written);
        };
        row("plain", "155.12000", "155.12000");
        row("empty", "", "");
        row("trailing blank", "Ch  1   ", "\"Ch  1   \"");
        row("comma", "A,B", "\"A,B\"");
        row("quote", "A\"B", "\"A\"\"B\"");
        row("line break", "A\nB", "\"A\nB\"");
    }
    void csvFieldsAreQuotedWhenNeeded() {
        QFETCH(QString, value);
        QFETCH(QString, written);
        QCOMPARE(CsvField(value), written);
        const CsvTable t = ParseCsv(CsvLine({value, QStringLiteral("x")}));
        QCOMPARE(t.records.at(0).fields, (QStringList{value, QStringLiteral("x")}));
    }
};

TAV_TEST_GUILESS(TestChannelCsv);
#include "tst_channelcsv.moc"
