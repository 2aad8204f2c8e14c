// Text rules of the channel grid: the clipboard form of copied rows, and what
// a pasted field puts into a cell.

#include <QtTest>

#include "TestMain.h"
#include "ui/GridText.h"

using namespace tav::grid;

class TestGridText : public QObject {
    Q_OBJECT

private slots:
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
        QTEST(hasRowShape(text, rows), "ok");
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
        QTEST(pastedCellText(column, field), "cell");
    }
};

TAV_TEST_GUILESS(TestGridText);
#include "tst_gridtext.moc"
