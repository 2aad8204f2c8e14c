#include <QLocale>
#include <QtTest>
#include <clocale>

#include "TestMain.h"
#include "model/MGlobals.h"
#include "model/NumberText.h"

using namespace tav;

namespace {
QString freqText(int32_t tenHz) {
    return QStringLiteral("%1.%2").arg(tenHz / 100000).arg(tenHz % 100000, 5, 10, QLatin1Char('0'));
}
}  // namespace

class TestMGlobals : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // Typed numbers must read the same whatever the user's locale.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    }

    // Bytes worked out by hand: every escape offset (nibble A to F, with and
    // without the sub-step flag) and every tens digit of the MHz part.
    void freqExamples_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("b1");
        QTest::addColumn<int>("b2");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char* name, const char* text, int b1, int b2, const char* shown) {
            QTest::newRow(name) << QString::fromLatin1(text) << b1 << b2
                                << QString::fromLatin1(shown);
        };
        row("155.12", "155.12", 0x55, 0x12, "155.12000");
        row("5 kHz flag", "155.12500", 0xD5, 0x12, "155.12500");
        row("112.34", "112.34", 0x12, 0x34, "112.34000");
        row("128.765", "128.765", 0xA8, 0x76, "128.76500");
        row("139.995", "139.995", 0xB9, 0x99, "139.99500");
        row("179.995", "179.995", 0xF9, 0x99, "179.99500");
        row("100.005", "100.005", 0x80, 0x00, "100.00500");
        row("escape 625", "100.10625", 0x00, 0x1A, "100.10625");
        row("escape 8125", "179.98125", 0xF9, 0x9A, "179.98125");
        row("escape 1875", "143.21875", 0x43, 0x2B, "143.21875");
        row("escape 9375", "150.39375", 0xD0, 0x3B, "150.39375");
        row("escape 3125", "155.03125", 0x55, 0x0C, "155.03125");
        row("escape 8750", "160.4875", 0xE0, 0x4C, "160.48750");
        row("escape 4375", "165.54375", 0x65, 0x5D, "165.54375");
        row("escape 1250", "162.4125", 0xE2, 0x4D, "162.41250");
        row("escape 5625", "170.65625", 0x70, 0x6E, "170.65625");
        row("escape 6250", "171.7625", 0xF1, 0x7E, "171.76250");
        row("escape 6875", "172.86875", 0x72, 0x8F, "172.86875");
        row("escape 3750", "173.9375", 0xF3, 0x9F, "173.93750");
        row("empty", "", 0, 0, "none");
        row("zero", "0", 0, 0, "none");
        row("none", "none", 0, 0, "none");
        row("trailing text", " 155.125 MHz", 0xD5, 0x12, "155.12500");
        row("comma is no separator", "155,125", 0x55, 0x00, "155.00000");
        row("rounded to 10 Hz", "155.124996", 0xD5, 0x12, "155.12500");
        // Refused: the bytes stay as they were.
        for (const char* text :
             {"99.99", "180.0", "155.0025", "155.12501", "179.99999", "-155.125", "1e400", "50000"})
            row(text, text, 0xAB, 0xCD, "");
    }
    void freqExamples() {
        QFETCH(QString, text);
        QFETCH(int, b1);
        QFETCH(int, b2);
        QFETCH(QString, shown);
        uint8_t B1 = 0xAB, B2 = 0xCD;
        QCOMPARE(FreqTextToBytes(text, B1, B2), !shown.isEmpty());
        QCOMPARE(int(B1), b1);
        QCOMPARE(int(B2), b2);
        if (!shown.isEmpty()) QCOMPARE(FreqBytesToText(B1, B2), shown);
    }

    // Every frequency the format can hold survives text -> bytes -> text.
    void everyRepresentableFrequencyRoundTrips() {
        static const int escapes[] = {625,  8125, 1875, 9375, 3125, 8750,
                                      4375, 1250, 5625, 6250, 6875, 3750};
        QList<int> below100k;
        for (int r = 0; r < 10000; r += 500) below100k << r;
        for (int e : escapes) below100k << e;
        QSet<int> seenBytes;
        int count = 0;
        for (int mhz = 0; mhz < 80; ++mhz)
            for (int khz100 = 0; khz100 < 10; ++khz100)
                for (int r : below100k) {
                    const int32_t f = 10000000 + mhz * 100000 + khz100 * 10000 + r;
                    if (f == 10000000) continue;  // 100.00000 is the pair 00 00: "none"
                    const QString text = freqText(f);
                    uint8_t B1 = 0, B2 = 0;
                    if (!FreqTextToBytes(text, B1, B2)) QFAIL(qPrintable("refused " + text));
                    if (FreqBytesToText(B1, B2) != text)
                        QFAIL(qPrintable(text + " came back as " + FreqBytesToText(B1, B2)));
                    seenBytes.insert(B1 * 256 + B2);
                    ++count;
                }
        QCOMPARE(count, 80 * 10 * 32 - 1);
        QCOMPARE(seenBytes.size(), count);
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
                if (B1 != b1 || B2 != b2)
                    QFAIL(qPrintable(
                        QStringLiteral("%1 %2 -> %3").arg(b1, 0, 16).arg(b2, 0, 16).arg(text)));
            }
    }

    void channelGuardExamples_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("h");
        QTest::addColumn<int>("l");
        QTest::addColumn<QString>("shown");
        QTest::newRow("D023") << "D023" << 0x88 << 0x13 << "D023";
        QTest::newRow("D023-") << "D023-" << 0xC8 << 0x13 << "D023-";
        QTest::newRow("d754") << "d754" << 0x89 << 0xEC << "D754";
        QTest::newRow("digits 8 and 9 keep three bits") << "D089" << 0x88 << 0x01 << "D001";
        QTest::newRow("67.0") << "67.0" << 0x06 << 0x70 << "067.0";
        QTest::newRow("empty") << "" << 0 << 0 << "000.0";
        QTest::newRow("half tenth rounds to even") << "67.05" << 0x06 << 0x70 << "067.0";
        QTest::newRow("800 Hz reads as a code") << "800" << 0x80 << 0x00 << "D000";
        QTest::newRow("1599.9 Hz") << "1599.9" << 0xF9 << 0x99 << "D631-";
        // Refused: too few digits, not a digit, a sign inside, 1600 Hz, a
        // negative tone, too large for 16 bits. The bytes stay as they were.
        for (const char* text : {"D2", "D0x3", "D-23", "1600", "-5", "3276.8"})
            QTest::newRow(text) << text << 0xAB << 0xCD << "";
    }
    void channelGuardExamples() {
        QFETCH(QString, text);
        QFETCH(int, h);
        QFETCH(int, l);
        QFETCH(QString, shown);
        uint8_t H = 0xAB, L = 0xCD;
        QCOMPARE(CGTextToBytes(text, H, L), !shown.isEmpty());
        QCOMPARE(int(H), h);
        QCOMPARE(int(L), l);
        if (!shown.isEmpty()) QCOMPARE(CGBytesToText(L, H), shown);
    }

    void channelGuardDecoding_data() {
        QTest::addColumn<int>("l");
        QTest::addColumn<int>("h");
        QTest::addColumn<QString>("shown");
        QTest::newRow("89 EC") << 0xEC << 0x89 << "D754";
        QTest::newRow("00 00") << 0x00 << 0x00 << "000.0";
        QTest::newRow("FF FF") << 0xFF << 0xFF << "D777-";
        QTest::newRow("bit 3 not examined") << 0x13 << 0x80 << "D023";
        QTest::newRow("nibbles above 9") << 0xBC << 0x0A << "01011.12";
    }
    void channelGuardDecoding() {
        QFETCH(int, l);
        QFETCH(int, h);
        QFETCH(QString, shown);
        QCOMPARE(CGBytesToText(uint8_t(l), uint8_t(h)), shown);
    }

    void everyDigitalCodeRoundTrips() {
        for (int code = 0; code < 512; ++code)
            for (bool inverted : {false, true}) {
                const QString text = QStringLiteral("D%1%2%3%4")
                                         .arg(code >> 6)
                                         .arg((code >> 3) & 7)
                                         .arg(code & 7)
                                         .arg(inverted ? "-" : "");
                uint8_t H = 0, L = 0;
                QVERIFY2(CGTextToBytes(text, H, L), qPrintable(text));
                QVERIFY2(H & 0x08, "bit 3 is always written set");
                QCOMPARE(CGBytesToText(L, H), text);
            }
    }

    void everyToneRoundTrips() {
        for (int tenths = 0; tenths < 8000; ++tenths) {
            const QString text =
                QStringLiteral("%1.%2").arg(tenths / 10, 3, 10, QLatin1Char('0')).arg(tenths % 10);
            uint8_t H = 0, L = 0;
            QVERIFY2(CGTextToBytes(text, H, L), qPrintable(text));
            QVERIFY(!(H & 0x80));
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

    // The leading number of a text, and the value of a short hexadecimal text.
    void numberTexts_data() {
        QTest::addColumn<bool>("hex");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        const auto hex = [](const char* text, double value) {
            QTest::newRow(qPrintable(QStringLiteral("hex %1").arg(text)))
                << true << QString(text) << value;
        };
        hex("1F", 31);
        hex("ABC", 2748);
        hex("abc", 2748);
        hex("1234", 0);  // too long
        hex("", 0);
        hex("G1", 1);  // not a hex digit: 0
        QTest::newRow("blanks and junk") << false << "  12.5x" << 12.5;
        QTest::newRow("negative") << false << "-3" << -3.0;
        QTest::newRow("fraction only") << false << ".5" << 0.5;
        QTest::newRow("exponent") << false << "1e2" << 100.0;
        QTest::newRow("bare e") << false << "1e" << 1.0;
        QTest::newRow("letters") << false << "abc" << 0.0;
        QTest::newRow("empty") << false << "" << 0.0;
        QTest::newRow("lone point") << false << "." << 0.0;
        QTest::newRow("comma") << false << "1,5" << 1.0;
        QTest::newRow("sign then blank") << false << "- 5" << 0.0;
        QTest::newRow("underflow") << false << "1e-400" << 0.0;
        QTest::newRow("overflow") << false << "1e400" << qInf();
        QTest::newRow("negative overflow") << false << "-1e400" << -qInf();
    }
    void numberTexts() {
        QFETCH(bool, hex);
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(hex ? HexTextToValue(text) : LeadingNumber(text), value);
    }
};

TAV_TEST_GUILESS(TestMGlobals);
#include "tst_mglobals.moc"
