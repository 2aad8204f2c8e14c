// The tuning box: the step rule as a plain function, and the widget's typing,
// committing, stepping, locking, leaving and stored properties.

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

#include "TestMain.h"
#include "TestSupport.h"
#include "model/TuneStep.h"
#include "tune/TuneBox.h"

using namespace tav;

namespace {

// A shown window holding one box, with every event it raises counted.
struct Harness {
    QWidget host;
    TuneBox* box = new TuneBox(&host);
    QLineEdit* other = new QLineEdit(&host);  // somewhere to move the focus to
    QLineEdit* edit = box->editWin();
    int changes = 0;
    int beeps = 0;
    QList<int> leaves;

    explicit Harness(int16_t fixLen = 2, int32_t max = 0xFF, int32_t min = 0) {
        auto* layout = new QVBoxLayout(&host);
        layout->addWidget(box);
        layout->addWidget(other);
        box->setMax(max);
        box->setMin(min);
        box->setFixLen(fixLen);
        box->setBeeper([this] { ++beeps; });
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

// The step rule without a widget: the digit under the cursor, MaxInc, the
// limits, wrapping round or stopping with a refusal.
class TestTuneStep : public QObject {
    Q_OBJECT

private slots:
    void step_data() {
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<bool>("wrap");
        QTest::addColumn<int>("fixLen");
        QTest::addColumn<int>("maxInc");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("caret");
        QTest::addColumn<bool>("up");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("refused");
        const auto row = [](const char* name, int min, int max, bool wrap, int start, int caret,
                            bool up, int value, bool refused, int fixLen = 2, int maxInc = 65535) {
            QTest::newRow(name) << min << max << wrap << fixLen << maxInc << start << caret << up
                                << value << refused;
        };
        row("high digit up stops at max", 0, 0x3F, false, 0x35, 0, true, 0x3F, true);
        row("high digit up wraps", 0, 0x3F, true, 0x35, 0, true, 0x05, false);
        row("low digit down", 0, 0x3F, false, 0x30, 1, false, 0x2F, false);
        row("high digit down stops at min", 0, 0x3F, false, 0x05, 0, false, 0x00, true);
        row("high digit down wraps", 0, 0x3F, true, 0x05, 0, false, 0x35, false);
        row("cursor at the end steps by one", 0, 0xFF, false, 0xFE, 2, true, 0xFF, false);
        row("at max with wrap", 0, 0xFF, true, 0xFF, 2, true, 0x00, false);
        row("MaxInc limits the step", 0, 0xFF, false, 0x10, 0, true, 0x14, false, 2, 4);
        row("MaxInc 0 steps by one", 0, 0xFF, false, 0x10, 0, true, 0x11, false, 2, 0);
        row("wrap below a raised min", 0x10, 0x3F, true, 0x10, 1, false, 0x3F, false);
        row("wrap up carries past min", 0x18, 0x3F, true, 0x35, 0, true, 0x25, false);
        row("wrap down carries below max", 0, 0x33, true, 0x05, 0, false, 0x25, false);
        row("second of four digits", 0, 0xFFFF, false, 0x1234, 1, true, 0x1334, false, 4);
        row("free length steps by one", 0, 0xFFFF, false, 0x10, 0, true, 0x11, false, 0);
    }
    void step() {
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(bool, wrap);
        QFETCH(int, fixLen);
        QFETCH(int, maxInc);
        QFETCH(int, start);
        QFETCH(int, caret);
        QFETCH(bool, up);
        const TuneStepResult r =
            TuneStep({min, max, wrap, int16_t(fixLen), maxInc}, start, caret, up);
        QTEST(int(r.value), "value");
        QTEST(r.refused, "refused");
    }
};

class TestTuneBox : public QObject {
    Q_OBJECT

private slots:
    void typing_data() {
        QTest::addColumn<int>("fixLen");
        QTest::addColumn<int>("max");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("changes");
        QTest::addColumn<bool>("pending");
        QTest::addColumn<int>("caret");
        const auto row = [](const char* name, int fixLen, int max, const QString& keys,
                            const char* text, int value, int changes, bool pending, int caret) {
            QTest::newRow(name) << fixLen << max << keys << QString(text) << value << changes
                                << pending << caret;
        };
        row("first digit only", 2, 0xFF, "7", "70", 0, 0, true, 1);
        row("7 then c", 2, 0xFF, "7c", "7C", 0x7C, 1, false, 2);
        row("third digit shifts", 2, 0xFF, "7c5", "C5", 0xC5, 2, false, 2);
        row("beyond F and plus ignored", 2, 0xFF, "g+Z ", "00", 0, 0, false, 0);
        row("full-width digit ignored", 2, 0xFF, QStringLiteral("\uFF137"), "70", 0, 0, true, 1);
        row("ignored keys amid digits", 2, 0xFF, "7x+c", "7C", 0x7C, 1, false, 2);
        // A clamped entry is redisplayed, so the text always shows Value.
        row("clamped to max", 2, 0x3F, "7c", "3F", 0x3F, 1, false, 2);
        // Free length: digits go in where the cursor is, until Enter.
        row("free length", 0, 0xFFFF, QStringLiteral("1a!\uFF13\r"), "1A0", 0x1A0, 1, false, 2);
    }
    void typing() {
        QFETCH(int, fixLen);
        QFETCH(int, max);
        QFETCH(QString, keys);
        Harness h(int16_t(fixLen), max);
        h.caretTo(0);
        test::typeKeys(h.edit, keys);
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
        QTest::keyClick(h.edit, Qt::Key_Return);
        QCOMPARE(h.box->Value(), 0x40);
        QVERIFY(!h.red());
        QTest::keyClick(h.edit, Qt::Key_Return);  // nothing pending: no event
        QCOMPARE(h.changes, 1);
        h.caretTo(0);
        QTest::keyClick(h.edit, 'b');
        h.other->setFocus();
        QCOMPARE(h.box->Value(), 0xB0);
        QCOMPARE(h.changes, 2);
        // A value set from outside drops a half-typed entry: nothing to commit.
        h.edit->setFocus();
        h.caretTo(0);
        QTest::keyClick(h.edit, '7');
        h.box->setValue(0x12);
        QVERIFY(!h.box->isPending() && !h.red());
        h.other->setFocus();
        QCOMPARE(h.changes, 2);
        QCOMPARE(h.box->Value(), 0x12);
    }

    void backspaceAndDeleteNeverRemoveDigits() {
        Harness h;
        h.box->setValue(0x35);
        h.caretTo(2);
        for (Qt::Key k : {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_Backspace})
            QTest::keyClick(h.edit, k);
        QCOMPARE(h.edit->text(), QStringLiteral("35"));
        QCOMPARE(int(h.box->caretPos()), 0);
        QTest::keyClicks(h.edit, "a0");
        QCOMPARE(h.box->Value(), 0xA0);
        QCOMPARE(h.changes, 1);
    }

    // Page Up/Down and the arrow buttons step by the rule (its table is the
    // core's), a half-typed entry committed first.
    void stepKeysAndArrowsUseTheStepRule() {
        Harness h(2, 0x3F);
        QVERIFY(h.activate());
        h.box->setValue(0x35);
        h.caretTo(0);
        QTest::keyClick(h.edit, '2');  // "25", waiting for the second digit
        QTest::keyClick(h.edit, Qt::Key_PageUp);
        QCOMPARE(h.edit->text(), QStringLiteral("26"));
        QVERIFY(!h.red());
        h.caretTo(0);
        QTest::keyClick(h.edit, Qt::Key_PageUp);
        QCOMPARE(h.box->Value(), 0x36);
        QTest::keyClick(h.edit, Qt::Key_PageUp);
        QCOMPARE(h.box->Value(), 0x3F);
        QCOMPARE(h.beeps, 1);
        h.caretTo(1);
        QTest::keyClick(h.edit, Qt::Key_PageDown);
        QCOMPARE(h.box->Value(), 0x3E);
        h.box->setDelta(5);  // the buttons' own increment plays no part in stepping
        h.other->setFocus();
        h.box->downButton()->click();
        QVERIFY(h.edit->hasFocus());
        QCOMPARE(h.box->Value(), 0x3D);
        h.box->upButton()->click();
        QCOMPARE(h.box->Value(), 0x3E);
        QCOMPARE(h.changes, 6);
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
    }
    void valueSetter() {
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(int, set);
        Harness h(2, max, min);
        h.box->setValue(set);
        QTEST(int(h.box->Value()), "stored");
        QTEST(h.edit->text(), "text");
        QCOMPARE(h.changes, 0);
    }

    void lockedRefusesInput() {
        Harness h;
        h.box->setValue(0x35);
        h.box->setLocked(true);
        QVERIFY(!h.edit->isEnabled() && !h.box->upButton()->isEnabled());
        QTest::keyClicks(h.edit, "7c");
        for (Qt::Key k : {Qt::Key_PageUp, Qt::Key_Up}) QTest::keyClick(h.edit, k);
        h.box->upButton()->click();
        QTest::mouseClick(h.box->downButton(), Qt::LeftButton);
        QCOMPARE(h.edit->text(), QStringLiteral("35"));
        QCOMPARE(h.changes, 0);
        QVERIFY(h.leaves.isEmpty());
        h.box->setLocked(false);
        QVERIFY(h.edit->isEnabled() && h.box->downButton()->isEnabled());
    }

    void leave_data() {
        QTest::addColumn<int>("caret");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QList<int>>("leaves");
        const int left = Qt::Key_Left, right = Qt::Key_Right;
        QTest::newRow("left from 1") << 1 << QList<int>{left} << QList<int>{};
        QTest::newRow("left twice from 1") << 1 << QList<int>{left, left} << QList<int>{0};
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

    // Limits are read before Value, so Value folds into the stored range.
    void storedPropertiesComeBack() {
        TuneBox box;
        box.readProperties({{"Value", 0x2A}, {"Max", 0x3F}, {"FixLen", 2}, {"Delta", 3}});
        QCOMPARE(box.Value(), 0x2A);
        QCOMPARE(box.editWin()->text(), QStringLiteral("2A"));
        TuneBox copy;
        copy.readProperties(box.writeProperties());
        QCOMPARE(copy.writeProperties(), box.writeProperties());
        QCOMPARE(copy.Delta(), 3);
    }
};

TAV_TEST_GUILESS(TestTuneStep);
TAV_TEST(TestTuneBox);
#include "tst_tunebox.moc"
