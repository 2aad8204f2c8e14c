#include <QtTest>
#include <random>

#include "TestMain.h"
#include "store/clsMoves.h"

using namespace tav;

namespace {

// Every byte of the state gets a value that tells where it came from.
AppState markedState() {
    AppState s;
    std::mt19937 rng(7);
    for (auto& b : s.EEImage) b = static_cast<uint8_t>(rng());
    for (auto& b : s.LabelImage) b = static_cast<uint8_t>(rng());
    for (auto& b : s.PowerMask) b = static_cast<uint8_t>(rng());
    return s;
}

QByteArray page(const AppState& s, int p) {
    return QByteArray(reinterpret_cast<const char*>(s.EEImage.data()) + 128 * p, 128);
}

// Which old page each of pages 1..15 holds now ("3" means old page 3).
QList<int> layout(const AppState& before, const AppState& after) {
    QList<int> where;
    for (int p = 1; p <= 15; ++p) {
        int source = 0;
        for (int q = 1; q <= 15; ++q)
            if (page(after, p) == page(before, q)) source = q;
        where << source;
    }
    return where;
}

QList<int> identity() {
    QList<int> l;
    for (int p = 1; p <= 15; ++p) l << p;
    return l;
}

// `l` with the element at position `from` (1-based) taken out and put at `to`.
QList<int> moved(int from, int to) {
    QList<int> l = identity();
    l.move(from - 1, to - 1);
    return l;
}

void verifyUntouchedOutsideGroups(const AppState& before, const AppState& after) {
    QCOMPARE(page(after, 0), page(before, 0));
    QCOMPARE(after.EEImage[2048], before.EEImage[2048]);
    QVERIFY(after.LabelImage == before.LabelImage);
    QVERIFY(after.PowerMask == before.PowerMask);
}

}  // namespace

class TestMoves : public QObject {
    Q_OBJECT

private slots:
    void moveGroups_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("3 to 3") << 3 << 3 << identity();
        QTest::newRow("1 to 15") << 1 << 15
                                 << QList<int>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 1};
        QTest::newRow("15 to 1") << 15 << 1
                                 << QList<int>{15, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
        QTest::newRow("5 to 3") << 5 << 3
                                << QList<int>{1, 2, 5, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
        // A B C D E: 2 to 4 gives A C D B E, 5 to 2 gives A E B C D.
        QTest::newRow("2 to 4") << 2 << 4
                                << QList<int>{1, 3, 4, 2, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
        QTest::newRow("5 to 2") << 5 << 2
                                << QList<int>{1, 5, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    }
    void moveGroups() {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QList<int>, expected);
        const AppState before = markedState();
        AppState s = before;
        QVERIFY(clsMoves(s).moveGroups(static_cast<int16_t>(from), static_cast<int16_t>(to)));
        QCOMPARE(layout(before, s), expected);
        verifyUntouchedOutsideGroups(before, s);
    }

    void outOfRangeIsRefused_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::newRow("from 0") << 0 << 3;
        QTest::newRow("from 16") << 16 << 1;
        QTest::newRow("to -1") << 2 << -1;
        QTest::newRow("to 32767") << 1 << 32767;
    }
    void outOfRangeIsRefused() {
        QFETCH(int, from);
        QFETCH(int, to);
        const AppState before = markedState();
        AppState s = before;
        QVERIFY(!clsMoves(s).moveGroups(static_cast<int16_t>(from), static_cast<int16_t>(to)));
        QVERIFY(s.EEImage == before.EEImage);
    }

    void stepsRefuseWhatWouldLeaveTheGroups() {
        const AppState before = markedState();
        AppState s = before;
        clsMoves m(s);
        QVERIFY(!m.copyGroup(0, 1));
        QVERIFY(!m.copyGroup(1, 0));
        QVERIFY(!m.copyGroup(15, 16));
        QVERIFY(!m.copyToTemp(16));
        QVERIFY(!m.copyFromTemp(0));
        QVERIFY(!m.leftShiftGroups(5, 3));   // wrong way round
        QVERIFY(!m.rightShiftGroups(5, 3));  // toGroup comes first
        QVERIFY(s.EEImage == before.EEImage);
        // The steps themselves, with the argument order of each.
        QVERIFY(m.rightShiftGroups(3, 5));
        QCOMPARE(layout(before, s).mid(0, 6), (QList<int>{1, 2, 5, 3, 4, 6}));
        QVERIFY(m.copyToTemp(1));
        QVERIFY(m.copyFromTemp(9));
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

    void moveBanksFromBoxes_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("5 to 3") << "5"
                                << "3" << true << moved(5, 3);
        QTest::newRow("same after rounding") << "3"
                                             << "3.4" << true << identity();
        QTest::newRow("letters") << "abc"
                                 << "3" << false << identity();
        QTest::newRow("sixteen") << "16"
                                 << "1" << false << identity();
        QTest::newRow("minus one") << "-1"
                                   << "4" << false << identity();
    }
    void moveBanksFromBoxes() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(bool, accepted);
        QFETCH(QList<int>, expected);
        const AppState before = markedState();
        AppState s = before;
        QCOMPARE(MoveBanks(s, from, to), accepted);
        QCOMPARE(layout(before, s), expected);
        verifyUntouchedOutsideGroups(before, s);
    }
};

TAV_TEST_GUILESS(TestMoves);
#include "tst_clsmoves.moc"
