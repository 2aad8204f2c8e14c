#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>
#include <memory>

#include "TestMain.h"
#include "tune/TuneBox.h"

using namespace tav;

namespace {

// A shown window holding one box, with every event it raises counted.
struct Harness {
    QWidget host;
    TuneBox* box;
    QLineEdit* edit;
    QLineEdit* other;  // somewhere to move the focus to
    int changes = 0;
    int beeps = 0;
    QList<int> leaves;

    explicit Harness(int16_t fixLen = 2, int32_t max = 0xFF, bool wrap = false) {
        auto* layout = new QVBoxLayout(&host);
        box = new TuneBox(&host);
        other = new QLineEdit(&host);
        layout->addWidget(box);
        layout->addWidget(other);
        box->setMax(max);
        box->setWrap(wrap);
        box->setFixLen(fixLen);
        box->setBeeper([this] { ++beeps; });
        edit = box->editWin();
        QObject::connect(box, &TuneBox::Change, [this] { ++changes; });
        QObject::connect(box, &TuneBox::Leave, [this](int16_t& d) { leaves << d; });
        host.show();
    }
    bool activate() {
        host.activateWindow();
        if (!QTest::qWaitForWindowActive(&host)) return false;
        edit->setFocus();
        return edit->hasFocus();
    }
    // Places the cursor the way a user would, so that the box records it.
    void caretTo(int pos) {
        QTest::keyClick(edit, Qt::Key_Home);
        for (int i = 0; i < pos; ++i) QTest::keyClick(edit, Qt::Key_Right);
        leaves.clear();
    }
    bool red() const { return edit->palette().color(QPalette::Text) == QColor(Qt::red); }
};

}  // namespace

class TestTuneBox : public QObject {
    Q_OBJECT

private slots:
    void typing_data() {
        QTest::addColumn<int>("max");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("changes");
        QTest::addColumn<bool>("pending");
        QTest::addColumn<int>("caret");
        QTest::newRow("first digit only") << 0xFF << "7"
                                          << "70" << 0 << 0 << true << 1;
        QTest::newRow("7 then c") << 0xFF << "7c"
                                  << "7C" << 0x7C << 1 << false << 2;
        QTest::newRow("third digit shifts") << 0xFF << "7c5"
                                            << "C5" << 0xC5 << 2 << false << 2;
        QTest::newRow("lower case letters") << 0xFF << "ab"
                                            << "AB" << 0xAB << 1 << false << 2;
        QTest::newRow("beyond F and plus ignored") << 0xFF << "g+Z "
                                                   << "00" << 0 << 0 << false << 0;
        QTest::newRow("ignored keys amid digits") << 0xFF << "7x+c"
                                                  << "7C" << 0x7C << 1 << false << 2;
        // A clamped entry is redisplayed, so the text always shows Value.
        QTest::newRow("clamped to max") << 0x3F << "7c"
                                        << "3F" << 0x3F << 1 << false << 2;
    }
    void typing() {
        QFETCH(int, max);
        QFETCH(QString, keys);
        Harness h(2, max);
        h.caretTo(0);
        QTest::keyClicks(h.edit, keys);
        QTEST(h.edit->text(), "text");
        QTEST(int(h.box->Value()), "value");
        QTEST(h.changes, "changes");
        QTEST(h.box->isPending(), "pending");
        QTEST(h.red(), "pending");
        QTEST(int(h.box->caretPos()), "caret");
    }

    void commitByEnterAndByLeavingTheField() {
        Harness h;
        QVERIFY(h.activate());
        QTest::keyClick(h.edit, '4');
        QVERIFY(h.red());
        QTest::keyClick(h.edit, Qt::Key_Return);
        QCOMPARE(h.box->Value(), 0x40);
        QCOMPARE(h.changes, 1);
        QVERIFY(!h.red());
        QTest::keyClick(h.edit, Qt::Key_Return);  // nothing pending: no event
        QCOMPARE(h.changes, 1);

        h.caretTo(1);
        QTest::keyClick(h.edit, '9');  // overwrites the last digit and completes
        QCOMPARE(h.box->Value(), 0x49);
        h.caretTo(0);
        QTest::keyClick(h.edit, 'b');
        h.other->setFocus();
        QCOMPARE(h.box->Value(), 0xB9);
        QCOMPARE(h.changes, 3);
        QVERIFY(!h.box->isPending());
    }

    void backspaceAndDeleteNeverRemoveDigits() {
        Harness h;
        h.box->setValue(0x35);
        h.caretTo(2);
        QTest::keyClick(h.edit, Qt::Key_Backspace);
        QCOMPARE(h.edit->text(), QStringLiteral("35"));
        QCOMPARE(int(h.box->caretPos()), 1);
        QTest::keyClick(h.edit, Qt::Key_Delete);
        QTest::keyClick(h.edit, Qt::Key_Backspace);
        QTest::keyClick(h.edit, Qt::Key_Backspace);
        QCOMPARE(h.edit->text(), QStringLiteral("35"));
        QCOMPARE(int(h.box->caretPos()), 0);
        QTest::keyClicks(h.edit, "a0");
        QCOMPARE(h.box->Value(), 0xA0);
        QCOMPARE(h.changes, 1);
    }

    void stepping_data() {
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<bool>("wrap");
        QTest::addColumn<int>("maxInc");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("caret");
        QTest::addColumn<bool>("up");
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("beeps");
        QTest::newRow("high digit up stops at max")
            << 0 << 0x3F << false << 65535 << 0x35 << 0 << true << 0x3F << 1;
        QTest::newRow("high digit up wraps")
            << 0 << 0x3F << true << 65535 << 0x35 << 0 << true << 0x05 << 0;
        QTest::newRow("low digit down")
            << 0 << 0x3F << false << 65535 << 0x30 << 1 << false << 0x2F << 0;
        QTest::newRow("high digit down stops at min")
            << 0 << 0x3F << false << 65535 << 0x05 << 0 << false << 0x00 << 1;
        QTest::newRow("high digit down wraps")
            << 0 << 0x3F << true << 65535 << 0x05 << 0 << false << 0x35 << 0;
        QTest::newRow("cursor at end steps by one")
            << 0 << 0xFF << false << 65535 << 0xFE << 2 << true << 0xFF << 0;
        QTest::newRow("at max with wrap")
            << 0 << 0xFF << true << 65535 << 0xFF << 2 << true << 0x00 << 0;
        QTest::newRow("MaxInc limits the step")
            << 0 << 0xFF << false << 4 << 0x10 << 0 << true << 0x14 << 0;
        QTest::newRow("wrap below raised min")
            << 0x10 << 0x3F << true << 65535 << 0x10 << 1 << false << 0x3F << 0;
        QTest::newRow("wrap up carries past min")
            << 0x18 << 0x3F << true << 65535 << 0x35 << 0 << true << 0x25 << 0;
        QTest::newRow("wrap down carries below max")
            << 0 << 0x33 << true << 65535 << 0x05 << 0 << false << 0x25 << 0;
    }
    void stepping() {
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(bool, wrap);
        QFETCH(int, maxInc);
        QFETCH(int, start);
        QFETCH(int, caret);
        QFETCH(bool, up);
        QFETCH(int, expected);
        Harness h(2, max, wrap);
        h.box->setMin(min);
        h.box->setMaxInc(maxInc);
        h.box->setValue(start);
        h.caretTo(caret);
        QTest::keyClick(h.edit, up ? Qt::Key_PageUp : Qt::Key_PageDown);
        QCOMPARE(h.box->Value(), expected);
        QCOMPARE(h.edit->text(), QStringLiteral("%1").arg(expected, 2, 16, QChar(u'0')).toUpper());
        QCOMPARE(h.changes, 1);
        QTEST(h.beeps, "beeps");
    }

    void stepCommitsPendingEntryFirst() {
        Harness h;
        h.box->setValue(0x35);
        h.caretTo(0);
        QTest::keyClick(h.edit, '2');  // "25", waiting for the second digit
        QTest::keyClick(h.edit, Qt::Key_PageUp);
        QCOMPARE(h.box->Value(), 0x26);
        QCOMPARE(h.edit->text(), QStringLiteral("26"));
        QCOMPARE(h.changes, 1);
        QVERIFY(!h.red());
    }

    void arrowButtonsFocusAndStep() {
        Harness h(2, 0x3F);
        QVERIFY(h.activate());
        h.box->setDelta(5);  // the buttons' own increment plays no part in stepping
        h.other->setFocus();
        h.box->upButton()->click();
        QVERIFY(h.edit->hasFocus());
        QCOMPARE(h.box->Value(), 0x10);
        h.box->downButton()->click();
        h.box->downButton()->click();
        QCOMPARE(h.box->Value(), 0x00);
        QCOMPARE(h.beeps, 1);
        QCOMPARE(h.changes, 3);
    }

    void valueSetter_data() {
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("set");
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("text");
        QTest::newRow("above max folds") << 0 << 0xFF << 0x140 << 0x40 << "40";
        QTest::newRow("max plus one") << 0 << 0x3F << 0x40 << 0x00 << "00";
        QTest::newRow("minus one") << 0 << 0xFF << -1 << 0xFF << "FF";
        QTest::newRow("below raised min") << 0x10 << 0x3F << 5 << 0x3F << "3F";
        QTest::newRow("in range") << 0 << 0x3F << 0x2A << 0x2A << "2A";
    }
    void valueSetter() {
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(int, set);
        Harness h(2, max);
        h.box->setMin(min);
        h.box->setValue(set);
        QTEST(int(h.box->Value()), "stored");
        QTEST(h.edit->text(), "text");
        QCOMPARE(h.changes, 0);
    }

    void setValueDropsHalfTypedEntry() {
        Harness h;
        QVERIFY(h.activate());
        QTest::keyClick(h.edit, '7');
        h.box->setValue(0x12);
        QVERIFY(!h.box->isPending());
        QVERIFY(!h.red());
        h.other->setFocus();  // nothing left to commit
        QCOMPARE(h.changes, 0);
        QCOMPARE(h.box->Value(), 0x12);
    }

    void freeLengthTyping() {
        Harness h(0, 0xFFFF);
        QVERIFY(h.activate());
        h.edit->selectAll();
        QTest::keyClicks(h.edit, "1a!");
        QCOMPARE(h.edit->text(), QStringLiteral("1A"));
        QVERIFY(h.red());
        QCOMPARE(h.changes, 0);
        QTest::keyClick(h.edit, Qt::Key_Return);
        QCOMPARE(h.box->Value(), 0x1A);
        QCOMPARE(h.changes, 1);
    }

    void lockedRefusesInput() {
        Harness h;
        h.box->setValue(0x35);
        h.box->setLocked(true);
        QVERIFY(!h.edit->isEnabled());
        QVERIFY(!h.box->upButton()->isEnabled());
        QVERIFY(!h.box->downButton()->isEnabled());
        QTest::keyClicks(h.edit, "7c");
        QTest::keyClick(h.edit, Qt::Key_PageUp);
        QTest::keyClick(h.edit, Qt::Key_Up);
        h.box->upButton()->click();
        QTest::mouseClick(h.box->downButton(), Qt::LeftButton);
        QCOMPARE(h.box->Value(), 0x35);
        QCOMPARE(h.edit->text(), QStringLiteral("35"));
        QCOMPARE(h.changes, 0);
        QVERIFY(h.leaves.isEmpty());
        h.box->setLocked(false);
        QVERIFY(h.edit->isEnabled() && h.box->upButton()->isEnabled());
    }

    void leave_data() {
        QTest::addColumn<int>("caret");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QList<int>>("leaves");
        const int left = Qt::Key_Left, right = Qt::Key_Right;
        QTest::newRow("left twice from 1") << 1 << QList<int>{left} << QList<int>{};
        QTest::newRow("left twice from 1, second leaves")
            << 1 << QList<int>{left, left} << QList<int>{0};
        QTest::newRow("right at the end") << 2 << QList<int>{right} << QList<int>{1};
        QTest::newRow("right twice from 1") << 1 << QList<int>{right, right} << QList<int>{1};
        QTest::newRow("right in the middle") << 0 << QList<int>{right} << QList<int>{};
        QTest::newRow("up arrow") << 1 << QList<int>{int(Qt::Key_Up)} << QList<int>{2};
        QTest::newRow("down arrow") << 1 << QList<int>{int(Qt::Key_Down)} << QList<int>{3};
    }
    void leave() {
        QFETCH(int, caret);
        QFETCH(QList<int>, keys);
        Harness h;
        h.box->setValue(0x35);
        h.caretTo(caret);
        for (int k : keys) QTest::keyClick(h.edit, Qt::Key(k));
        QTEST(h.leaves, "leaves");
        QCOMPARE(h.edit->text(), QStringLiteral("35"));
        QCOMPARE(h.changes, 0);
    }

    void persistence() {
        TuneBox box;
        const QVariantMap defaults{{"Value", 0},      {"Min", 0},       {"Max", 255},
                                   {"Wrap", false},   {"Delta", 1},     {"FixLen", 0},
                                   {"Locked", false}, {"MaxInc", 65535}};
        QCOMPARE(box.writeProperties(), defaults);

        QStringList touched;
        connect(&box, &TuneBox::PropertyChanged, [&](const QString& n) { touched << n; });
        const QVariantMap stored{{"Value", 0x2A}, {"Max", 0x3F}, {"FixLen", 2}, {"Delta", 3}};
        box.readProperties(stored);
        QCOMPARE(box.Value(), 0x2A);  // folded into 0..0x3F, not the old range
        QCOMPARE(box.max(), 0x3F);
        QCOMPARE(box.Delta(), 3);
        QCOMPARE(box.editWin()->text(), QStringLiteral("2A"));
        QVERIFY(touched.contains("Value") && touched.contains("FixLen") && touched.contains("Max"));

        TuneBox copy;
        copy.readProperties(box.writeProperties());
        QCOMPARE(copy.writeProperties(), box.writeProperties());
    }
};

TAV_TEST(TestTuneBox);
#include "tst_tunebox.moc"
