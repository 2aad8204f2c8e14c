// The tuning box: the step rule as a plain function, and the widget's keys.

#include <QtWidgets>

#include "TestMain.h"
#include "TestSupport.h"
#include "model/TuneStep.h"
#include "tune/TuneBox.h"

using namespace tav;

// The step rule without a widget: the digit under the cursor, MaxInc, the
// limits, wrapping round or stopping with a refusal.
class TestTuneStep : public QObject {
    Q_OBJECT

private slots:
    void step_data() {
        // min, max, wrap, start, caret, up -> value, refused; then fixLen, maxInc
        QTest::addColumn<QList<int>>("c");
        const auto row = [](const char* name, QList<int> c, int fixLen = 2, int maxInc = 65535) {
            QTest::newRow(name) << (c << fixLen << maxInc);
        };
        row("high digit up stops at max", {0, 0x3F, 0, 0x35, 0, 1, 0x3F, 1});
        row("high digit up wraps", {0, 0x3F, 1, 0x35, 0, 1, 0x05, 0});
        row("low digit down", {0, 0x3F, 0, 0x30, 1, 0, 0x2F, 0});
        row("high digit down stops at min", {0, 0x3F, 0, 0x05, 0, 0, 0x00, 1});
        row("high digit down wraps", {0, 0x3F, 1, 0x05, 0, 0, 0x35, 0});
        row("cursor at the end steps by one", {0, 0xFF, 0, 0xFE, 2, 1, 0xFF, 0});
        row("at max with wrap", {0, 0xFF, 1, 0xFF, 2, 1, 0x00, 0});
        row("MaxInc limits the step", {0, 0xFF, 0, 0x10, 0, 1, 0x14, 0}, 2, 4);
        row("MaxInc 0 steps by one", {0, 0xFF, 0, 0x10, 0, 1, 0x11, 0}, 2, 0);
        row("wrap below a raised min", {0x10, 0x3F, 1, 0x10, 1, 0, 0x3F, 0});
        row("wrap up carries past min", {0x18, 0x3F, 1, 0x35, 0, 1, 0x25, 0});
        row("wrap down carries below max", {0, 0x33, 1, 0x05, 0, 0, 0x25, 0});
        row("second of four digits", {0, 0xFFFF, 0, 0x1234, 1, 1, 0x1334, 0}, 4);
        row("free length steps by one", {0, 0xFFFF, 0, 0x10, 0, 1, 0x11, 0}, 0);
    }
    void step() {
        QFETCH(QList<int>, c);
        const TuneStepResult r =
            TuneStep({c[0], c[1], c[2] != 0, int16_t(c[8]), c[9]}, c[3], c[4], c[5] != 0);
        QCOMPARE((QList<int>{r.value, r.refused}), c.mid(6, 2));
    }
};

namespace {

// A shown window holding one box and somewhere to move the focus to.
struct Harness {
    QWidget host;
    TuneBox* box = new TuneBox(&host);
    QLineEdit* other = new QLineEdit(&host);
    QLineEdit* edit = box->editWin();
    int changes = 0, beeps = 0;

    explicit Harness(const QList<int>& limits) {  // fixLen, min, max
        box->setMin(limits[1]);
        box->setMax(limits[2]);
        box->setFixLen(int16_t(limits[0]));
        box->setDelta(5);  // the arrow buttons' own increment plays no part in stepping
        box->setBeeper([this] { ++beeps; });
        QObject::connect(box, &TuneBox::Change, [this] { ++changes; });
        host.show();
        host.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&host));
        edit->setFocus();
    }
    // Characters are typed; besides: < > Left, Right; ] End; \b Backspace; \x7f
    // Delete; ^ _ Page Up, Down; { } the arrow buttons; \t the focus elsewhere;
    // = the program sets the value 12.
    void press(const QString& keys) {
        static const QHash<QChar, Qt::Key> named{
            {u'<', Qt::Key_Left},       {u'>', Qt::Key_Right},     {u']', Qt::Key_End},
            {u'\b', Qt::Key_Backspace}, {u'\x7f', Qt::Key_Delete}, {u'^', Qt::Key_PageUp},
            {u'_', Qt::Key_PageDown},   {u'\r', Qt::Key_Return}};
        for (const QChar c : keys) {
            if (c == u'\t') other->setFocus();
            if (c == u'=') box->setValue(0x12);
            if (c == u'{') box->upButton()->click();
            if (c == u'}') box->downButton()->click();
            if (named.contains(c)) QTest::keyClick(edit, named[c]);
            if (!named.contains(c) && !QStringLiteral("\t={}").contains(c)) test::typeKeys(edit, c);
        }
    }
};

}  // namespace

class TestTuneBox : public QObject {
    Q_OBJECT

private slots:
    void keys_data() {
        QTest::addColumn<QList<int>>("limits");
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("after");  // value, changes, pending, caret, beeps
        const QList<int> ff{2, 0, 0xFF}, x3f{2, 0, 0x3F};
        const auto row = [](const char* name, QList<int> limits, int start, const char* keys,
                            const char* text, QList<int> after) {
            QTest::newRow(name) << limits << start << QString(keys) << QString(text) << after;
        };
        row("first digit waits", ff, 0, "7", "70", {0, 0, 1, 1, 0});
        row("second digit commits", ff, 0, "7c", "7C", {0x7C, 1, 0, 2, 0});
        row("third digit shifts", ff, 0, "7c5", "C5", {0xC5, 2, 0, 2, 0});
        row("non-digits ignored", ff, 0, "g+Z x", "00", {0, 0, 0, 0, 0});
        // A clamped entry is redisplayed, so the text always shows Value.
        row("clamped to max", x3f, 0, "7c", "3F", {0x3F, 1, 0, 2, 0});
        row("free length until Enter", {0, 0, 0xFFFF}, 0, "1a!\r", "1A0", {0x1A0, 1, 0, 2, 0});
        row("Enter commits once", ff, 0, "4\r\r", "40", {0x40, 1, 0, 1, 0});
        row("leaving commits", ff, 0, "b\t", "B0", {0xB0, 1, 0, 1, 0});
        row("value set drops the entry", ff, 0, "7=\t", "12", {0x12, 0, 0, 1, 0});
        row("Backspace, Delete keep digits", ff, 0x35, "]\b\x7f\b\ba", "A5", {0x35, 0, 1, 1, 0});
        row("PageUp commits, then steps", x3f, 0x35, "2^", "26", {0x26, 1, 0, 1, 0});
        row("PageUp stops at max", x3f, 0x35, "^", "3F", {0x3F, 1, 0, 0, 1});
        row("PageDown on the low digit", x3f, 0x35, ">_", "34", {0x34, 1, 0, 1, 0});
        row("arrow buttons", x3f, 0x35, ">\t}}{", "34", {0x34, 3, 0, 1, 0});
        row("set above max folds", ff, 0x140, "", "40", {0x40, 0, 0, 0, 0});
        row("set max plus one", x3f, 0x40, "", "00", {0, 0, 0, 0, 0});
        row("set minus one", ff, -1, "", "FF", {0xFF, 0, 0, 0, 0});
        row("set below a raised min", {2, 0x10, 0x3F}, 5, "", "3F", {0x3F, 0, 0, 0, 0});
    }
    void keys() {
        QFETCH(QList<int>, limits);
        QFETCH(int, start);
        QFETCH(QString, keys);
        Harness h(limits);
        h.box->setValue(start);
        h.press(keys);
        QTEST(h.edit->text(), "text");
        const bool red = h.edit->palette().color(QPalette::Text) == QColor(Qt::red);
        QCOMPARE(red, h.box->isPending());
        QTEST((QList<int>{h.box->Value(), h.changes, red, h.box->caretPos(), h.beeps}), "after");
    }

    // Limits are read before Value, so Value folds into the stored range.
    void storedPropertiesComeBack() {
        TuneBox box;
        box.readProperties({{"Value", 0x2A}, {"Max", 0x3F}, {"FixLen", 2}, {"Delta", 3}});
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
