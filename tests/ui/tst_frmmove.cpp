// The Move Banks dialog reads the two numbers as typed and hands them to the
// store, whose rule moves the pages (tested there).

#include "GroupContent.h"
#include "TestMain.h"
#include "UiFixture.h"
#include "model/LabelText.h"
#include "model/MGlobals.h"
#include "ui/EditorWindows.h"
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
        QList<QList<int>> seenAtStore, seenAtRedisplay;
        frmMove dlg(
            s, prompter, [&] { seenAtStore << pageOrder(s); },
            [&] { seenAtRedisplay << pageOrder(s); });
        dlg.show();
        dlg.cboFromBank->setEditText(fromTo[0]);
        dlg.cboToBank->setEditText(fromTo[1]);
        QTest::mouseClick(dlg.btnMoveOK, Qt::LeftButton);
        QTEST(pageOrder(s), "pages");
        QCOMPARE(test::boxLines(prompter.shown).join(u'\n'), message);
        QCOMPARE(dlg.isVisible(), !message.isEmpty());
        QCOMPARE(seenAtRedisplay, QList<QList<int>>(message.isEmpty() ? 1 : 0, pageOrder(s)));
        // The shown group is stored before the move, not after it.
        QCOMPARE(seenAtStore,
                 QList<QList<int>>(seenAtRedisplay.size(), pageOrder(numberedPages())));
        QCOMPARE((QStringList{dlg.cboFromBank->currentText(), dlg.cboToBank->currentText()}),
                 fromTo);
    }

    // Through the menu and the real dialog, both ways: edits of the shown group
    // not yet stored move with it, every byte of each group goes with it, and
    // the reverse move leaves the image as storing the edits alone would.
    void pendingEditsMoveWithTheirGroup() {
        test::UiRig rig;
        frmGroups& w = rig.open();
        EditorWindows windows(rig.state, *rig.settings, rig.prompter, rig.clock);
        windows.attach(w);
        rig.selectGroup(1);
        // The other groups told apart in each of their parts.
        for (int g = 2; g < kGroupCount; ++g) {
            rig.state.EEImage[std::size_t(128 * (g + 1) + 20)] = uint8_t(g);
            rig.state.EEImage[std::size_t(36 + 2 * g)] = uint8_t(g);
            rig.state.label(g, 0, 0) = rig.state.PowerMask[std::size_t(g)] = uint8_t(g);
        }
        const AppState before = rig.state;
        rig.goTo(1, 0);
        rig.type("155.025");
        rig.goTo(5, 0);
        rig.type("MOVED");
        QTest::mouseClick(w.chkNarr[3], Qt::LeftButton);
        QTest::mouseClick(w.chkLoPower[4], Qt::LeftButton);
        QVERIFY(rig.state.EEImage == before.EEImage && rig.state.PowerMask == before.PowerMask);
        const auto moveBanks = [&](const QString& from, const QString& to) {
            // The main window is active again once the dialog has gone, as a
            // window manager would have it.
            w.activateWindow();
            QTRY_COMPARE(QApplication::activeWindow(), &w);
            QTimer::singleShot(0, &w, [&] {
                frmMove* dlg = windows.move();
                dlg->cboFromBank->setEditText(from);
                dlg->cboToBank->setEditText(to);
                QTest::mouseClick(dlg->btnMoveOK, Qt::LeftButton);
                if (dlg->isVisible()) dlg->reject();  // a failure, not a hang
            });
            QTest::keyClick(&w, Qt::Key_M, Qt::ControlModifier);
            QCOMPARE(windows.move()->cboToBank->currentText(), to);
        };
        moveBanks("2", "5");
        const AppState moved = rig.state;
        moveBanks("5", "2");
        // The image before the edits, with the edits stored: nothing else.
        AppState edited = before;
        QVERIFY(FreqTextToBytes("155.02500", edited.EEImage[2 * 128 + 16],
                                edited.EEImage[2 * 128 + 17]));
        StoreLabelText(edited, 1, 0, "MOVED");
        edited.EEImage[39] ^= 0x08;    // group 2 channel 4 narrow
        edited.PowerMask[16] ^= 0x10;  // group 2 channel 5 power
        QVERIFY(rig.state.EEImage == edited.EEImage && rig.state.LabelImage == edited.LabelImage &&
                rig.state.PowerMask == edited.PowerMask);
        // Between the moves: the edited group at 5, old 3 one place lower.
        QCOMPARE(test::groupContent(moved, 5), test::groupContent(rig.state, 2));
        QCOMPARE(test::groupContent(moved, 2), test::groupContent(before, 3));
        QCOMPARE(test::outsideGroups(moved), test::outsideGroups(before));
        rig.selectGroup(0);
        rig.selectGroup(1);
        QCOMPARE((QStringList{rig.cell(1, 0), rig.cell(5, 0)}),
                 (QStringList{"155.02500", "MOVED   "}));
    }

    // Modal, and placed before it shows; its first texts move 15 to 1.
    void showCentredRunsModalUntilOk() {
        AppState s = numberedPages();
        test::ScriptedPrompter prompter;
        frmMove dlg(s, prompter, {}, {});
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
