#include <QtTest>

#include "Fixtures.h"
#include "GroupContent.h"
#include "TestMain.h"
#include "store/clsMoves.h"

using namespace tav;
using namespace tav::test;

namespace {

bool sameTables(const AppState& a, const AppState& b) {
    return a.EEImage == b.EEImage && a.LabelImage == b.LabelImage && a.PowerMask == b.PowerMask;
}

// Which old group each of groups 1..15 holds now, as "1 2 3 ..." (0: none).
QString layout(const AppState& before, const AppState& after) {
    QStringList where;
    for (int n = 1; n <= 15; ++n) {
        int source = 0;
        for (int q = 1; q <= 15; ++q)
            if (groupContent(after, n) == groupContent(before, q)) source = q;
        where << QString::number(source);
    }
    return where.join(u' ');
}

const QString kUnmoved = QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15");

}  // namespace

class TestMoves : public QObject {
    Q_OBJECT

private slots:
    // The Move Banks boxes: both group numbers 1 to 15. A group moves whole,
    // with its labels, narrow-band and power bits; the rest never moves, and
    // the reverse move gives the image back byte for byte.
    void moveBanks_data() {
        textRows(  // from|to|which old group each group holds after it (empty: refused)
            "3|3|1 2 3 4 5 6 7 8 9 10 11 12 13 14 15;1|15|2 3 4 5 6 7 8 9 10 11 12 13 14 15 1;"
            "15|1|15 1 2 3 4 5 6 7 8 9 10 11 12 13 14;5|3|1 2 5 3 4 6 7 8 9 10 11 12 13 14 15;"
            "2|4|1 3 4 2 5 6 7 8 9 10 11 12 13 14 15;5|2|1 5 2 3 4 6 7 8 9 10 11 12 13 14 15;"
            "3|3.4|1 2 3 4 5 6 7 8 9 10 11 12 13 14 15;abc|3|;16|1|;-1|4|;0|3|;2|-1|;1|32767|");
    }
    void moveBanks() {
        QFETCH(QStringList, row);
        const QString expected = row[2];
        const AppState before = randomImage(7);
        AppState s = before;
        QCOMPARE(MoveBanks(s, row[0], row[1]), !expected.isEmpty());
        QCOMPARE(layout(before, s), expected.isEmpty() ? kUnmoved : expected);
        QCOMPARE(outsideGroups(s), outsideGroups(before));
        QCOMPARE(MoveBanks(s, row[1], row[0]), !expected.isEmpty());
        QVERIFY(sameTables(s, before));
    }

    void stepsRefuseWhatWouldLeaveTheGroups() {
        const AppState before = randomImage(7);
        AppState s = before;
        clsMoves m(s);
        QVERIFY(!m.moveGroups(0, 3) && !m.moveGroups(16, 1) && !m.moveGroups(2, -1));
        QVERIFY(!m.copyGroup(0, 1) && !m.copyGroup(1, 0) && !m.copyGroup(15, 16));
        QVERIFY(!m.copyToTemp(16) && !m.copyFromTemp(0));
        QVERIFY(!m.leftShiftGroups(5, 3));   // wrong way round
        QVERIFY(!m.rightShiftGroups(5, 3));  // toGroup comes first
        QVERIFY(sameTables(s, before));
        // The steps themselves, with the argument order of each.
        QVERIFY(m.rightShiftGroups(3, 5));
        QCOMPARE(layout(before, s), QStringLiteral("1 2 5 3 4 6 7 8 9 10 11 12 13 14 15"));
        QVERIFY(m.copyToTemp(1) && m.copyFromTemp(9));
        QCOMPARE(groupContent(s, 9), groupContent(before, 1));
    }

    // Text|number: trailing letters dropped, rounded half to even, the number at most 32767.
    void boxText_data() {
        textRows("15|15;12abc|12;abc|0;|0;-1|-1;3.6|4;2.5|2;.6|1;99999999|32767;1e-400|0");
    }
    void boxText() {
        QFETCH(QStringList, row);
        QCOMPARE(int(BankNumberFromText(row[0])), row[1].toInt());
    }
};

TAV_TEST_GUILESS(TestMoves);
#include "tst_clsmoves.moc"
