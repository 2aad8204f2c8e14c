#include <QLocale>
#include <QtTest>
#include <clocale>

#include "Fixtures.h"
#include "TestMain.h"
#include "model/EntryRules.h"
#include "model/GuardCodes.h"
#include "model/MGlobals.h"
#include "model/NumberText.h"

using namespace tav;
using tav::test::entryReason;
using tav::test::textRows;

class TestMGlobals : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // Typed numbers must read the same whatever the user's locale.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    }

    // Text|B1B2|shown, bytes worked out by hand: every escape offset (nibble A to
    // F, with and without the sub-step flag) and every tens digit of the MHz
    // part. No shown text: refused, the bytes stay as they were.
    void freqExamples_data() {
        textRows(
            "155.12|5512|155.12000;155.12500|D512|155.12500;112.34|1234|112.34000;"
            "128.765|A876|128.76500;139.995|B999|139.99500;179.995|F999|179.99500;"
            "100.005|8000|100.00500;100.10625|001A|100.10625;179.98125|F99A|179.98125;"
            "143.21875|432B|143.21875;150.39375|D03B|150.39375;155.03125|550C|155.03125;"
            "160.4875|E04C|160.48750;165.54375|655D|165.54375;162.4125|E24D|162.41250;"
            "170.65625|706E|170.65625;171.7625|F17E|171.76250;172.86875|728F|172.86875;"
            "173.9375|F39F|173.93750;|0000|none;0|0000|none;none|0000|none;"
            " 155.125 MHz|D512|155.12500;155,125|5500|155.00000;155.124996|D512|155.12500;"
            "99.99|ABCD|;180.0|ABCD|;155.0025|ABCD|;155.12501|ABCD|;179.99999|ABCD|;"
            "-155.125|ABCD|;1e400|ABCD|;50000|ABCD|");
    }
    void freqExamples() {
        QFETCH(QStringList, row);
        uint8_t B1 = 0xAB, B2 = 0xCD;
        QCOMPARE(FreqTextToBytes(row[0], B1, B2), !row[2].isEmpty());
        QCOMPARE(B1 * 256 + B2, row[1].toInt(nullptr, 16));
        if (!row[2].isEmpty()) QCOMPARE(FreqBytesToText(B1, B2), row[2]);
    }

    // Every pair of well-formed frequency bytes survives bytes -> text -> bytes;
    // a first byte FF is no frequency.
    void everyWellFormedBytePairRoundTrips() {
        for (int b1 = 0; b1 < 255; ++b1)
            for (int b2 = 0; b2 < 256; ++b2) {
                if (b1 == 0) QCOMPARE(FreqBytesToText(0xFF, uint8_t(b2)), QStringLiteral("none"));
                if ((b1 & 15) > 9 || (b2 >> 4) > 9 || (b1 == 0 && b2 == 0)) continue;
                const QString text = FreqBytesToText(uint8_t(b1), uint8_t(b2));
                uint8_t B1 = 0, B2 = 0;
                QVERIFY2(FreqTextToBytes(text, B1, B2), qPrintable(text));
                if (B1 != b1 || B2 != b2) QFAIL(qPrintable(text));
            }
    }

    // Text|HL|shown: text -> bytes -> text; no shown text: refused, the bytes
    // (ABCD) stay as they were; "#": decoding only.
    void channelGuardExamples_data() {
        textRows(
            "D023|8813|D023;D023-|C813|D023-;d754|89EC|D754;D089|8801|D001;67.0|0670|067.0;"
            "|0000|000.0;67.05|0670|067.0;800|8000|D000;1599.9|F999|D631-;D2|ABCD|;"
            "D0x3|ABCD|;D-23|ABCD|;1600|ABCD|;-5|ABCD|;3276.8|ABCD|;#|FFFF|D777-;"
            "#bit 3 not examined|8013|D023;#nibbles above 9|0ABC|01011.12");
    }
    void channelGuardExamples() {
        QFETCH(QStringList, row);
        uint8_t H = 0xAB, L = 0xCD;
        const int hl = row[1].toInt(nullptr, 16);
        if (!row[0].startsWith(u'#')) {
            QCOMPARE(CGTextToBytes(row[0], H, L), !row[2].isEmpty());
            QCOMPARE(H * 256 + L, hl);
        }
        if (!row[2].isEmpty()) QCOMPARE(CGBytesToText(uint8_t(hl), uint8_t(hl >> 8)), row[2]);
    }

    // Every digital code, either polarity, and every tone survive text -> bytes -> text.
    void everyChannelGuardRoundTrips() {
        QStringList texts;
        for (int code = 0; code < 1024; ++code)
            texts << QStringLiteral("D%1%2%3%4")
                         .arg(code >> 7 & 7)
                         .arg(code >> 4 & 7)
                         .arg(code >> 1 & 7)
                         .arg(code & 1 ? "-" : "");
        for (int t = 0; t < 8000; ++t)
            texts << QStringLiteral("%1.%2").arg(t / 10, 3, 10, QLatin1Char('0')).arg(t % 10);
        for (const QString& text : texts) {
            uint8_t H = 0, L = 0;
            QVERIFY2(CGTextToBytes(text, H, L), qPrintable(text));
            QVERIFY2(text[0] == u'D' ? (H & 0x88) == 0x88 : !(H & 0x80),
                     qPrintable(text));  // bit 3 always set on codes
            if (CGBytesToText(L, H) != text) QFAIL(qPrintable(text));
        }
    }

    void hexDigitsAreAsciiOnly() {
        for (const QChar c : QStringLiteral("0123456789ABCDEFabcdef"))
            QVERIFY2(IsHexDigit(c), qPrintable(QString(c)));
        // Neighbours of the ranges, other scripts' digits, full-width letters.
        for (const QChar c : QStringLiteral("/:@G`g \uFF13\u0663\u0969\uFF21\u00B3"))
            QVERIFY2(!IsHexDigit(c), qPrintable(QString::number(c.unicode(), 16)));
    }

    void byteToBcd() {
        // n, whether it converts, the byte (5A: left as it was)
        const int rows[] = {0, 1, 0x00, 79, 1, 0x79, 159, 1, 0xF9, 160, 0, 0x5A, -1, 0, 0x5A};
        for (std::size_t i = 0; i < std::size(rows); i += 3) {
            uint8_t out = 0x5A;
            QCOMPARE(ByteToBCD(rows[i], out), rows[i + 1] == 1);
            QCOMPARE(int(out), rows[i + 2]);
        }
    }

    // Text|value: the leading number of a text; "x" first: the value of a short hex text.
    void numberTexts_data() {
        textRows(
            "x1F|31;xABC|2748;xabc|2748;x1234|0;x|0;xG1|1;  12.5x|12.5;-3|-3;.5|0.5;"
            "1e2|100;1e|1;abc|0;|0;.|0;1,5|1;- 5|0;1e-400|0;1e400|inf;-1e400|-inf");
    }
    void numberTexts() {
        QFETCH(QStringList, row);
        const double v =
            row[0].startsWith(u'x') ? HexTextToValue(row[0].mid(1)) : LeadingNumber(row[0]);
        QCOMPARE(v, row[1].toDouble());
    }

    // What the radio can hold, per kind (f frequency, g channel guard, l
    // label)|typed|shown, or !reason key. Frequencies as the grid reads them:
    // 155025 is 155.025; once on the raster, a short entry has three digits
    // before the point.
    void entryVerdicts_data() {
        textRows(
            "f|155.0025|!hold;f|155.0075|!hold;f|1550025|!hold;f|155.00625|155.00625;"
            "f|155.0125|155.01250;f|155.0375|155.03750;f|155025|155.02500;f|155.12000|155.12000;"
            "f|0155.1|155.10000;f|143|143.00000;f|174|174.00000;f| 162.4 |162.40000;"
            "f|15.5|155.00000;f|1.6|160.00000;f|none|none;f||none;f|0|none;f|155.003125|!raster;"
            "f|155.001|!raster;f|1.55025|!raster;f|180|!band;f|142.9975|!band;f|174.0025|!band;"
            "f|50|!band;f|17.5|!band;f|0.00625|!band;f|155.1234567|!digits;"
            "f|12345678901234567890123|!digits;f|abc|!nf;f|155.1.2|!nf;f|-155|!nf;f|1e3|!nf;"
            "f|.|!nf;g|D999|!guard;g|D080|!guard;g|c|!guard;g|1600|!guard;g|800|!guard;"
            "g|D02|!guard;g|67.05|!guard;g|-67|!guard;g|d023-|D023-;g|67|067.0;g| 799.9 |799.9;"
            "g|0|000.0;g|none|000.0;g||000.0;l|lower~\u00e9{}|!~;l|ab\u00e9|!\u00e9;"
            "l|abcdefghi|!long;l|.A|!.;l|fire.2|FIRE.2;l|h H|h H;"
            "l|a.b.c.d.e.f.g.h.|A.B.C.D.E.F.G.h.;l|-*$/+%\\_|-*$/+%\\_;l|<> |<> ;l||");
    }
    void entryVerdicts() {
        QFETCH(QStringList, row);
        const EntryVerdict v = row[0] == "f"   ? CheckFrequencyEntry(row[1])
                               : row[0] == "g" ? CheckGuardEntry(row[1])
                                               : CheckLabelEntry(row[1]);
        const bool refused = row[2].startsWith(u'!');
        QCOMPARE(
            (QStringList{v.normalized, v.reason}),
            refused ? (QStringList{"", entryReason(row[2].mid(1))}) : (QStringList{row[2], ""}));
        QCOMPARE(v.ok, !refused);
    }

    // The pick list: 50 tones and 104 codes twice, each written as the entry
    // rule writes it, so that every one is taken as it stands.
    void guardPickList() {
        const QStringList& codes = StandardGuardCodes();
        QCOMPARE(codes.size(), 50 + 2 * 104);
        QCOMPARE((QStringList{codes[0], codes[12], codes[49], codes[50], codes[51], codes[257]}),
                 (QStringList{"067.0", "100.0", "254.1", "D023", "D023-", "D754-"}));
        QCOMPARE(QSet<QString>(codes.begin(), codes.end()).size(), codes.size());
        for (const QString& code : codes) QCOMPARE(CheckGuardEntry(code).normalized, code);
    }
};

TAV_TEST_GUILESS(TestMGlobals);
#include "tst_mglobals.moc"
