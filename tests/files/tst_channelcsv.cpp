#include <QTemporaryDir>
#include <QtTest>

#include "Fixtures.h"
#include "TestMain.h"
#include "files/ChannelCsv.h"
#include "files/CsvText.h"
#include "files/RadioFile.h"

using namespace tav;
using namespace tav::test;

namespace {

const QByteArray kHeader =
    "Group,Channel,Rx Freq,Rx CG,Tx Freq,Tx CG,Label,Scan,Narrow,Low Power\r\n";

// Row `n` (0-based) of an export, split into fields.
QStringList exportedRow(const AppState& s, int n) {
    return ParseCsv(QString::fromUtf8(ExportChannelCsv(s))).records.at(std::size_t(n) + 1).fields;
}

}  // namespace

class TestChannelCsv : public QObject {
    Q_OBJECT

private slots:
    // A file of a header and a row per channel; a file that cannot be made says why.
    void exportHasAHeaderAndOneRowPerChannel() {
        QTemporaryDir dir;
        QVERIFY(ExportChannelCsvFile(defaultImage(), dir.filePath("radio.csv")).ok());
        QCOMPARE(ExportChannelCsvFile(defaultImage(), dir.filePath("no/such/x.csv")).errorNumber,
                 76);
        const QByteArray csv = readFile(dir.filePath("radio.csv"));
        QVERIFY(csv.startsWith(kHeader));
        QCOMPARE(csv.count("\r\n"), 1 + 15 * 14);
        QVERIFY(csv.contains("\r\n1,1,162.40000,000.0,none,000.0,\"Ch  1   \",0,0,0\r\n"));
        QVERIFY(csv.contains("\r\n15,14,162.46500,000.0,none,000.0,\"Ch  14  \",0,0,\r\n"));
    }

    // Export then import changes no byte, whatever the image holds: values the
    // grid could never produce are taken as they stand.
    void roundTripIsByteIdentical() {
        AppState ff;
        ff.EEImage.fill(0xFF), ff.LabelImage.fill(0xFF), ff.PowerMask.fill(0xFF);
        for (const AppState& image : {defaultImage(), AppState(), ff, randomImage(1),
                                      randomImage(2), randomImage(3), randomImage(4)}) {
            AppState after = image;
            const CsvImportResult r = ImportChannelCsv(after, ExportChannelCsv(image));
            QCOMPARE(r.errors, QStringList());
            QCOMPARE(r.rows * 1000 + r.changedFields, 210000);
            QCOMPARE(SerializeRadioFile(after), SerializeRadioFile(image));
        }
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
        QCOMPARE(hexBytes(&groupByte(after, 2, a + 4), 2), "D512");
        QCOMPARE(hexBytes(&groupByte(after, 0, 16 + 4), 2), "D502");  // 155.025
        AllowedBits ok;
        ok.eeBits(3, a + 4, 0xFF).eeBits(3, a + 5, 0xFF).eeBits(3, 1, 0x10);
        ok.eeBits(1, 20, 0xFF).eeBits(1, 21, 0xFF);
        QCOMPARE(strayChanges(before, after, ok), QString());
    }

    // Name|header|value (*: the header is the whole file)|column of group 2 channel 10's
    // exported row|its text after the import.
    void eachColumnGoesThroughItsCodec_data() {
        textRows(
            "rx freq|Rx Freq|155.00625|2|155.00625;rx freq empty|Rx Freq||2|none;"
            "rx cg digital|Rx CG|d754|3|D754;tx cg inverted|Tx CG|D023-|5|D023-;"
            "tx freq|Tx Freq|162.55|4|162.55000;label|Label|fire.2|6|FIRE.2   ;"
            "scan Y|Scan|Y|7|1;narrow y|Narrow|y|8|1;low power L|Low Power|L|9|1;"
            "low power N|Low Power|N|9|0;"
            "BOM, CRLF, quotes, blank lines|\xef\xbb\xbf\"Group\",Channel,Label\r\n\r\n\"2\",10,"
            "\"A.B.C\"\r\n\r\n|*|6|A.B.C     ");
    }
    void eachColumnGoesThroughItsCodec() {
        QFETCH(QStringList, row);
        QStringList expected = exportedRow(defaultImage(), 14 + 9);
        expected[row[3].toInt()] = row[4];
        AppState s = defaultImage();
        const QString csv =
            row[2] == "*" ? row[1] : "Group,Channel," + row[1] + "\n2,10," + row[2] + "\n";
        QCOMPARE(ImportChannelCsv(s, csv.toUtf8()).errors, QStringList());
        QCOMPARE(exportedRow(s, 14 + 9), expected);
    }

    // A low-power box clears the channel's high-power bit; group 15 has none.
    void lowPowerIsTheCheckBox() {
        AppState s = defaultImage();
        s.PowerMask[15] = 0xFC;  // channels 1 and 2 on low power
        s.PowerMask[14] = 0x5A;
        const QByteArray csv = "Group,Channel,Low Power\n1,1,1\n1,9,L\n1,2,0\n15,1,0\n15,9,\n";
        QCOMPARE(ImportChannelCsv(s, csv).errors, QStringList());
        // Channel 1: the second byte's bit 0; channel 9: the first byte's.
        QCOMPARE(QList<int>({s.PowerMask[15], s.PowerMask[0], s.PowerMask[14], s.PowerMask[29]}),
                 QList<int>({0xFE, 0xFE, 0x5A, 0xFF}));
    }

    // Every bad row is listed with its line and why; nothing changes.
    void badRowsAreAllListed_data() {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QStringList>("errors");
        const QString cg =
            "not a channel guard (a tone such as 067.0 below 800 Hz, or a digital "
            "code such as D023 or D023-)";
        QTest::newRow("every kind of bad value")
            << QByteArray(kHeader +  // from line 2 on
                          "1,1,180,,,,,,,\r\n1,2,155.003125,,,,,,,\r\n1,3,abc,,,,,,,\r\n"
                          "1,4,155.0025,,,,,,,\r\n1,5,,67.05,,D089,,,,\r\n1,6,,,,,ABCDEFGHI,,,\r\n"
                          "1,7,,,,,ab\xc3\xa9,,,\r\n1,8,,,,,,X,N,2\r\n15,1,,,,,,,,1\r\n"
                          "16,0,,,,,,,,\r\nx,1,,,,,,,,\r\n1,9,,,,\r\n1,1,,,,,,,,\r\n"
                          "1,10,,,1234.5678901,,,,,\r\n")
            << QStringList{
                   "line 2: Rx Freq \"180\": outside the band 143 to 174 MHz",
                   "line 3: Rx Freq \"155.003125\": not on the 2.5 kHz or 6.25 kHz channel raster",
                   "line 4: Rx Freq \"abc\": not a frequency in MHz",
                   "line 5: Rx Freq \"155.0025\": the radio cannot hold this frequency (5 kHz "
                   "steps, or 6.25 kHz and 12.5 kHz offsets)",
                   "line 6: Rx CG \"67.05\": " + cg,
                   "line 6: Tx CG \"D089\": " + cg,
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
            << QByteArray(
                   "Group,Channel,Label\n1,1,\"A\nB\"\n1,2,A\"B\n1,3,\"A\"B\n"
                   "1,5,\"AB\n1,6,\"CD\"\n1,4,\"AB")
            << QStringList{
                   "line 2: Label \"A\nB\": \"\n\" is not a character of the radio's "
                   "display",
                   "line 4: quote inside an unquoted field", "line 5: text after a closing quote",
                   "line 6: quote not closed on its line (the field runs on to line 7, where "
                   "text follows a closing quote)",
                   "line 8: quoted field not closed"};
        QTest::newRow("Narrow's choices")
            << QByteArray("Group,Channel,Narrow\n1,1,X\n")
            << QStringList{"line 2: Narrow \"X\": not a flag (\"\", 0, 1 or Y)"};
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
        QVERIFY(r.changedFields == 0 && SerializeRadioFile(s) == before);
    }

    void csvFieldsAreQuotedWhenNeeded() {
        for (const auto& [value, written] : {std::pair{"155.12000", "155.12000"},
                                             {"", ""},
                                             {"Ch  1   ", "\"Ch  1   \""},
                                             {"A,B", "\"A,B\""},
                                             {"A\"B", "\"A\"\"B\""},
                                             {"A\nB", "\"A\nB\""}}) {
            QCOMPARE(CsvField(value), QString(written));
            QCOMPARE(ParseCsv(CsvLine({value, "x"})).records.at(0).fields,
                     (QStringList{value, "x"}));
        }
    }
};

TAV_TEST_GUILESS(TestChannelCsv);
#include "tst_channelcsv.moc"
