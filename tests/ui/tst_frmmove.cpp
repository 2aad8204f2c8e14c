// The Move Banks dialog reads the two numbers as typed and hands them to the
// store, whose rule moves the pages (tested there).

#include "TestMain.h"
#include "UiFixture.h"
#include "ui/frmMove.h"

using namespace tav;

namespace {

// Every group page filled with its own number, so a page's origin shows.
AppState numberedPages() {
    AppState s;
    for (int p = 0; p < kPageCount; ++p)
        std::fill_n(s.EEImage.begin() + p * kPageSize, kPageSize, uint8_t(p));
    return s;
}

QList<int> pageOrder(const AppState& s) {
    QList<int> order;
    for (int p = 0; p < 7; ++p) order << s.EEImage[p * kPageSize];
    return order;
}

}  // namespace

class TestFrmMove : public QObject {
    Q_OBJECT

private slots:
    // Refused, the dialog stays open to be put right and nothing is shown
    // again; hidden, not destroyed, it keeps the texts for the next time.
    void ok_data() {
        QTest::addColumn<QStringList>("fromTo");
        QTest::addColumn<QList<int>>("pages");
        QTest::addColumn<QString>("message");
        const QList<int> same{0, 1, 2, 3, 4, 5, 6};
        QTest::newRow("5 to 3") << QStringList{"5", "3"} << QList<int>{0, 1, 2, 5, 3, 4, 6}
                                << QString();
        QTest::newRow("letters: no move") << QStringList{"abc", "3"} << same << QString();
        QTest::newRow("16") << QStringList{"16", "1"} << same
                            << "There is no bank 16. Bank numbers run from 1 to 15. |  | Ok | "
                               "Exclamation";
    }
    void ok() {
        QFETCH(QStringList, fromTo);
        QFETCH(QString, message);
        AppState s = numberedPages();
        test::ScriptedPrompter prompter;
        QList<QList<int>> seenAtRedisplay;
        frmMove dlg(s, prompter, [&] { seenAtRedisplay << pageOrder(s); });
        dlg.show();
        dlg.cboFromBank->setEditText(fromTo[0]);
        dlg.cboToBank->setEditText(fromTo[1]);
        QTest::mouseClick(dlg.btnMoveOK, Qt::LeftButton);
        QTEST(pageOrder(s), "pages");
        QCOMPARE(test::boxLines(prompter.shown).join(u'\n'), message);
        QCOMPARE(dlg.isVisible(), !message.isEmpty());
        QCOMPARE(seenAtRedisplay, QList<QList<int>>(message.isEmpty() ? 1 : 0, pageOrder(s)));
        QCOMPARE((QStringList{dlg.cboFromBank->currentText(), dlg.cboToBank->currentText()}),
                 fromTo);
    }

    // Modal, and placed before it shows; its first texts move 15 to 1.
    void showCentredRunsModalUntilOk() {
        AppState s = numberedPages();
        test::ScriptedPrompter prompter;
        frmMove dlg(s, prompter, {});
        QWidget* modal = nullptr;
        QTimer::singleShot(0, &dlg, [&] {
            modal = QApplication::activeModalWidget();
            QTest::mouseClick(dlg.btnMoveOK, Qt::LeftButton);
            if (dlg.isVisible()) dlg.reject();  // a failure, not a hang
        });
        dlg.showCentred();
        QCOMPARE(modal, &dlg);
        QCOMPARE(pageOrder(s).mid(0, 3), (QList<int>{0, 15, 1}));
    }
};

TAV_TEST(TestFrmMove);
#include "tst_frmmove.moc"
