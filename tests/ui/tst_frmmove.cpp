#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "TestMain.h"
#include "TestSupport.h"
#include "ui/frmMove.h"

using namespace tav;

namespace {

// Every group page filled with its own number, so a page's origin shows.
AppState numberedPages() {
    AppState s;
    for (int p = 0; p < kPageCount; ++p)
        std::fill_n(s.EEImage.begin() + p * kPageSize, kPageSize, uint8_t(p));
    s.EEImage[kEEPromSize] = 0xEE;
    return s;
}

// The origin of pages 1..15, as a list of numbers.
QList<int> pageOrder(const AppState& s) {
    QList<int> order;
    for (int p = 1; p < kPageCount; ++p) {
        const auto first = s.EEImage.begin() + p * kPageSize;
        const bool whole =
            std::all_of(first, first + kPageSize, [&](uint8_t b) { return b == *first; });
        order << (whole ? *first : -1);
    }
    return order;
}

using order = QList<int>;
QList<int> identity() {
    QList<int> o;
    for (int p = 1; p <= 15; ++p) o << p;
    return o;
}

}  // namespace

class TestFrmMove : public QObject {
    Q_OBJECT

private slots:
    void dialogAsDrawn() {
        AppState s;
        test::ScriptedPrompter prompter;
        frmMove dlg(s, prompter, {});
        QCOMPARE(dlg.windowTitle(), QString("Move Banks"));
        QCOMPARE(dlg.lblFromBank->text(), QString("From Bank"));
        QCOMPARE(dlg.lblToBank->text(), QString("To Bank"));
        QCOMPARE(dlg.btnMoveOK->text(), QString("OK"));
        QCOMPARE(dlg.cboFromBank->currentText(), QString("15"));
        QCOMPARE(dlg.cboToBank->currentText(), QString("1"));
        QCOMPARE(dlg.cboToBank->itemText(14), QString("15"));
        // Tab goes from the source to the target, then to OK.
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        dlg.cboFromBank->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), dlg.cboToBank);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), dlg.btnMoveOK);
    }

    void okMoves_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QList<int>>("pages");
        const auto to = [](const char* t) { return QString::fromLatin1(t); };
        QTest::newRow("3 to 3: nothing") << "3" << to("3") << identity();
        QTest::newRow("1 to 15") << "1" << to("15")
                                 << order{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 1};
        QTest::newRow("15 to 1") << "15" << to("1")
                                 << order{15, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
        QTest::newRow("5 to 3") << "5" << to("3")
                                << order{1, 2, 5, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
        QTest::newRow("leading number read")
            << " 2.4 banks" << to("4.6")
            << order{1, 3, 4, 5, 2, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
        QTest::newRow("letters: no move") << "abc" << to("3") << identity();
        QTest::newRow("zero: no move") << "5" << to("0") << identity();
        QTest::newRow("empty: no move") << "" << to("2") << identity();
    }
    void okMoves() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QList<int>, pages);
        AppState s = numberedPages();
        test::ScriptedPrompter prompter;
        QList<QList<int>> seenAtRedisplay;
        frmMove dlg(s, prompter, [&] { seenAtRedisplay << pageOrder(s); });
        dlg.show();
        dlg.cboFromBank->setEditText(from);
        dlg.cboToBank->setEditText(to);
        QTest::mouseClick(dlg.btnMoveOK, Qt::LeftButton);
        QCOMPARE(pageOrder(s), pages);
        QCOMPARE(seenAtRedisplay, QList<QList<int>>{pages});  // once, after the move
        QVERIFY(prompter.shown.isEmpty());
        QVERIFY(!dlg.isVisible());
        QCOMPARE(s.EEImage[0], uint8_t(0));  // the global block never moves
        QCOMPARE(s.EEImage[kEEPromSize], uint8_t(0xEE));
        // Hidden, not destroyed: the texts are there for the next time.
        QCOMPARE(dlg.cboFromBank->currentText(), from);
        QCOMPARE(dlg.cboToBank->currentText(), to);
    }

    void outOfRangeIsRefused_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("message");
        const auto noBank = [](int n) {
            return QStringLiteral("There is no bank %1. Bank numbers run from 1 to 15.").arg(n);
        };
        QTest::newRow("16") << "16" << QString("1") << noBank(16);
        QTest::newRow("negative") << "-3" << QString("4") << noBank(-3);
        QTest::newRow("15.5 rounds to 16") << "15.5" << QString("1") << noBank(16);
    }
    void outOfRangeIsRefused() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, message);
        AppState s = numberedPages();
        const auto before = s.EEImage;
        test::ScriptedPrompter prompter;
        int redisplays = 0;
        frmMove dlg(s, prompter, [&] { ++redisplays; });
        dlg.show();
        dlg.cboFromBank->setEditText(from);
        dlg.cboToBank->setEditText(to);
        dlg.btnMoveOK->click();
        QCOMPARE(s.EEImage, before);
        QCOMPARE(prompter.texts(), QStringList{message});
        QCOMPARE(prompter.shown.first().title, QString());
        // Left open to be put right; the main window has nothing to show again.
        QVERIFY(dlg.isVisible());
        QCOMPARE(redisplays, 0);
    }

    void showCentredRunsModalUntilOk() {
        AppState s = numberedPages();
        test::ScriptedPrompter prompter;
        int redisplays = 0;
        frmMove dlg(s, prompter, [&] { ++redisplays; });
        bool wasModal = false;
        QTimer::singleShot(0, &dlg, [&] {
            wasModal = QApplication::activeModalWidget() == &dlg;
            dlg.btnMoveOK->click();  // 15 to 1, the initial texts
        });
        dlg.showCentred();
        QVERIFY(wasModal);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(redisplays, 1);
        QCOMPARE(pageOrder(s).first(), 15);
    }

    void cleanup() {
        for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
    }
};

TAV_TEST(TestFrmMove);
#include "tst_frmmove.moc"
