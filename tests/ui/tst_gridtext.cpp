// Text rules of the channel grid: the frequency check, the look of numbers,
// and the clipboard form of rows.

#include <QtTest>

#include "TestMain.h"
#include "ui/GridText.h"

using namespace tav;
using namespace tav::grid;

Q_DECLARE_METATYPE(tav::grid::FreqVerdict)

class TestGridText : public QObject {
    Q_OBJECT

private slots:
    void checkFrequency_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<FreqVerdict>("verdict");
        QTest::addColumn<double>("mhz");
        QTest::newRow("kHz") << 155025.0 << FreqVerdict::Accept << 155.025;
        QTest::newRow("Hz") << 155025000.0 << FreqVerdict::Accept << 155.025;
        QTest::newRow("6.25 raster") << 155.00625 << FreqVerdict::Accept << 155.00625;
        QTest::newRow("2.5 raster") << 143.0025 << FreqVerdict::Accept << 143.0025;
        QTest::newRow("off raster") << 155.003125 << FreqVerdict::Refuse << 0.0;
        QTest::newRow("above band") << 180.0 << FreqVerdict::Refuse << 0.0;
        QTest::newRow("below band") << 142.9975 << FreqVerdict::Refuse << 0.0;
        QTest::newRow("top edge") << 174.0 << FreqVerdict::Accept << 174.0;
        QTest::newRow("zero") << 0.0 << FreqVerdict::LeaveAsTyped << 0.0;
        QTest::newRow("too long") << 150.0012345 << FreqVerdict::Refuse << 0.0;
        QTest::newRow("negative") << -2.0 << FreqVerdict::Refuse << 0.0;
    }
    void checkFrequency() {
        QFETCH(double, value);
        QFETCH(FreqVerdict, verdict);
        QFETCH(double, mhz);
        const FreqCheck c = grid::checkFrequency(value);
        QCOMPARE(c.verdict, verdict);
        if (verdict == FreqVerdict::Accept) QCOMPARE(c.mhz, mhz);
    }

    void numbersInTheColumnsLook() {
        QCOMPARE(formatNumber(RecFreq, 155.025), QStringLiteral("155.02500"));
        QCOMPARE(formatNumber(TxFreq, 0), QStringLiteral("000.00000"));
        QCOMPARE(formatNumber(RecCG, 67), QStringLiteral("067.0"));
        QCOMPARE(shortestText(153.0), QStringLiteral("153"));
        QCOMPARE(shortestText(155.0 + 0.6), QStringLiteral("155.6"));
    }

    void rowShape_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("ok");
        const QString row = QStringLiteral("1\t162.40000\t000.0\tnone\t000.0\tCh  1   \t1\t0\t1\r");
        QTest::newRow("one row") << row << 1 << true;
        QTest::newRow("fourteen rows") << row.repeated(14) << 14 << true;
        QTest::newRow("one row asked for 14") << row << 14 << false;
        QTest::newRow("no carriage return") << row.chopped(1) << 1 << false;
        QTest::newRow("eight fields") << QStringLiteral("1\t2\t3\t4\t5\t6\t0\t0\r") << 1 << false;
        QTest::newRow("check value 2")
            << QStringLiteral("1\t2\t3\t4\t5\t6\t0\t2\t0\r") << 1 << false;
        QTest::newRow("prose") << QStringLiteral("Hello there, world.\r") << 1 << false;
    }
    void rowShape() {
        QFETCH(QString, text);
        QFETCH(int, rows);
        QFETCH(bool, ok);
        QCOMPARE(hasRowShape(text, rows), ok);
    }

    void pastedCells_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("cell");
        QTest::newRow("frequency") << int(RecFreq) << "155.025"
                                   << "155.02500";
        QTest::newRow("none stays text") << int(TxFreq) << "none"
                                         << "none";
        QTest::newRow("digital code") << int(RecCG) << "D023-"
                                      << "D023-";
        QTest::newRow("tone as number") << int(TxCG) << "67"
                                        << "067.0";
        QTest::newRow("empty frequency") << int(RecFreq) << ""
                                         << "000.00000";
        QTest::newRow("label as is") << int(ChLabel) << "12 ab"
                                     << "12 ab";
    }
    void pastedCells() {
        QFETCH(int, column);
        QFETCH(QString, field);
        QFETCH(QString, cell);
        QCOMPARE(pastedCellText(column, field), cell);
    }

    void splitTakesNineFields() {
        const RowFields f = splitRow(QStringLiteral("4\ta\tb\tc\td\te\t1\t0\t1"));
        QCOMPARE(f.cells[5], QStringLiteral("e"));
        QCOMPARE(f.scan, 1);
        QCOMPARE(f.narrow, 0);
        QCOMPARE(f.loPower, 1);
        QCOMPARE(rowText(f), QStringLiteral("4\ta\tb\tc\td\te\t1\t0\t1\r"));
    }
};

TAV_TEST_GUILESS(TestGridText);
#include "tst_gridtext.moc"
