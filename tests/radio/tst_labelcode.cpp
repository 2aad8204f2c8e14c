#include <QtTest>

#include "TestMain.h"
#include "radio/LabelCode.h"

using namespace tav;

class TestLabelCode : public QObject {
    Q_OBJECT

private slots:
    void encode_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("byte");
        QTest::addColumn<QString>("left");
        QTest::newRow("a.B: folded, dot taken") << "a.B" << 0x15 << "B";
        QTest::newRow("h stays lower case") << "h" << 0x5E << "";
        QTest::newRow("9.") << "9." << 0x13 << "";
        QTest::newRow("only one dot taken") << "A..B" << 0x15 << ".B";
        QTest::newRow("space") << " x" << 0x60 << "x";
        QTest::newRow("outside the table") << "#x" << 0x60 << "x";
        QTest::newRow("empty") << "" << 0x60 << "";
        QTest::newRow("leading dot is a character") << ".A" << 0x60 << "A";
        QTest::newRow("accented letter") << QString::fromUtf8("é") << 0x60 << "";
        QTest::newRow("dotless i is no I") << QString::fromUtf8("ı") << 0x60 << "";
        QTest::newRow("one emoji is one cell") << QString::fromUtf8("😀.x") << 0x61 << "x";
    }
    void encode() {
        QFETCH(QString, text);
        QFETCH(int, byte);
        QFETCH(QString, left);
        QCOMPARE(int(strLabToByte(text)), byte);
        QCOMPARE(text, left);
    }

    void decode_data() {
        QTest::addColumn<int>("byte");
        QTest::addColumn<QString>("text");
        QTest::newRow("0x15") << 0x15 << "A.";
        QTest::newRow("0x61") << 0x61 << " .";
        QTest::newRow("0xFF empty cell") << 0xFF << "";
        QTest::newRow("0xFE code 63") << 0xFE << "";
        QTest::newRow("0x62 code 49") << 0x62 << "";
        QTest::newRow("0x80 bit 7 ignored") << 0x80 << "0";
    }
    void decode() {
        QFETCH(int, byte);
        QFETCH(QString, text);
        QCOMPARE(strByteToChar(uint8_t(byte)), text);
    }

    // The display's characters in code order; every one, with and without
    // its dot, comes back as the same byte; bit 7 never matters for reading.
    void everyCodeRoundTrips() {
        QString all;
        for (int code = 0; code <= 48; ++code) all += strByteToChar(uint8_t(code * 2));
        QCOMPARE(all, QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-*$/+%\\|_<>h "));
        for (int code = 0; code <= 48; ++code)
            for (int dot = 0; dot < 2; ++dot) {
                const uint8_t b = uint8_t(code * 2 + dot);
                QString text = strByteToChar(b);
                QCOMPARE(strByteToChar(uint8_t(b | 0x80)), text);
                QCOMPARE(int(strLabToByte(text)), int(b));
                QVERIFY(text.isEmpty());
            }
    }

    void wholeLabelConsumedCellByCell() {
        QString text = "Ch  1";
        QList<int> bytes;
        for (int k = 0; k < 8; ++k) bytes << strLabToByte(text);
        QCOMPARE(bytes, (QList<int>{0x18, 0x5E, 0x60, 0x60, 0x02, 0x60, 0x60, 0x60}));
    }
};

TAV_TEST_GUILESS(TestLabelCode);
#include "tst_labelcode.moc"
