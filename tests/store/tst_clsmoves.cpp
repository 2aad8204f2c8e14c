#include <QtTest>

#include "Fixtures.h"
#include "TestMain.h"
#include "store/clsMoves.h"

using namespace tav;
using namespace tav::test;

namespace {

QByteArray page(const AppState& s, int p) {
    return QByteArray(reinterpret_cast<const char*>(s.EEImage.data()) + kPageSize * p, kPageSize);
}

// Which old page each of pages 1..15 holds now, as "1 2 3 ..." (0: none).
QString layout(const AppState& before, const AppState& after) {
    QStringList where;
    for (int p = 1; p <= 15; ++p) {
        int source = 0;
        for (int q = 1; q <= 15; ++q)
            if (page(after, p) == page(before, q)) source = q;
        where << QString::number(source);
    }
    return where.join(u' ');
}

const QString kUnmoved = QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15");

}  // namespace

class TestMoves : public QObject {
    Q_OBJECT

private slots:
    // The Move Banks boxes: both must be group numbers 1 to 15; page 0 (the
    // global block), element 2048, the labels and the power mask never move.
    void moveBanks_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("expected");  // empty: refused
        const auto row = [](const char* from, const char* to, const char* expected) {
            QTest::addRow("%s to %s", from, to) << from << to << QString::fromLatin1(expected);
        };
        row("3", "3", "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15");
        row("1", "15", "2 3 4 5 6 7 8 9 10 11 12 13 14 15 1");
        row("15", "1", "15 1 2 3 4 5 6 7 8 9 10 11 12 13 14");
        row("5", "3", "1 2 5 3 4 6 7 8 9 10 11 12 13 14 15");
        row("2", "4", "1 3 4 2 5 6 7 8 9 10 11 12 13 14 15");
        row("5", "2", "1 5 2 3 4 6 7 8 9 10 11 12 13 14 15");
        row("3", "3.4", "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15");  // the same after rounding
        const char* refused[] = {"abc", "3", "16", "1",  "-1", "4",
                                 "0",   "3", "2",  "-1", "1",  "32767"};
        for (std::size_t i = 0; i < std::size(refused); i += 2) row(refused[i], refused[i + 1], "");
    }
    void moveBanks() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, expected);
        const AppState before = randomImage(7);
        AppState s = before;
        QCOMPARE(MoveBanks(s, from, to), !expected.isEmpty());
        QCOMPARE(layout(before, s), expected.isEmpty() ? kUnmoved : expected);
        QCOMPARE(page(s, 0), page(before, 0));
        QCOMPARE(s.EEImage[2048], before.EEImage[2048]);
        QVERIFY(s.LabelImage == before.LabelImage && s.PowerMask == before.PowerMask);
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
        QVERIFY(s.EEImage == before.EEImage);
        // The steps themselves, with the argument order of each.
        QVERIFY(m.rightShiftGroups(3, 5));
        QCOMPARE(layout(before, s), QStringLiteral("1 2 5 3 4 6 7 8 9 10 11 12 13 14 15"));
        QVERIFY(m.copyToTemp(1) && m.copyFromTemp(9));
        QCOMPARE(page(s, 9), page(before, 1));
    }

    void boxText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        QTest::newRow("plain") << "15" << 15;
        QTest::newRow("trailing letters") << "12abc" << 12;
        QTest::newRow("letters") << "abc" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("negative") << "-1" << -1;
        QTest::newRow("rounded up") << "3.6" << 4;
        QTest::newRow("half to even, down") << "2.5" << 2;
        QTest::newRow("fraction only") << ".6" << 1;
        QTest::newRow("huge") << "99999999" << 32767;
        QTest::newRow("tiny") << "1e-400" << 0;
    }
    void boxText() {
        QFETCH(QString, text);
        QFETCH(int, number);
        QCOMPARE(int(BankNumberFromText(text)), number);
    }
};

TAV_TEST_GUILESS(TestMoves);
#include "tst_clsmoves.moc"
