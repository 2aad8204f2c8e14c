// Text rules of the channel grid: the look of numbers and the clipboard form
// of rows.

#include <QtTest>

#include "TestMain.h"
#include "model/NumberText.h"
#include "ui/GridText.h"

using namespace tav;
using namespace tav::grid;

class TestGridText : public QObject {
    Q_OBJECT

private slots:
    void numbersInTheColumnsLook() {
        QCOMPARE(formatNumber(RecFreq, 155.025), QStringLiteral("155.02500"));
        QCOMPARE(formatNumber(TxFreq, 0), QStringLiteral("000.00000"));
        QCOMPARE(formatNumber(RecCG, 67), QStringLiteral("067.0"));
        QCOMPARE(ShortestDecimalText(153.0), QStringLiteral("153"));
        QCOMPARE(ShortestDecimalText(155.0 + 0.6), QStringLiteral("155.6"));
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
