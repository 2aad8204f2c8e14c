// Undo and redo across the editor's changes, the modified mark in the
// caption, and the channel row commands, all through keys and clicks and
// checked in the radio file saved after each step.

#include "TestMain.h"
#include "UiFixture.h"
#include "files/RadioFile.h"
#include "model/MemoryGrid.h"
#include "model/clsGroup.h"
#include "store/ChannelRows.h"
#include "ui/EditorWindows.h"
#include "ui/frmGlobals.h"
#include "ui/frmMove.h"

using namespace tav;
using namespace tav::test;

namespace {

// Channel r's own content: cells the radio holds and a distinct set of checks.
ChannelRow content(int r) {
    return {{QStringLiteral("%1.00000").arg(150 + r), QStringLiteral("0%1.0").arg(70 + r),
             QStringLiteral("16%1.00000").arg(r % 10),
             QStringLiteral("D%1").arg(023 + r, 3, 8, QLatin1Char('0')),
             QStringLiteral("CH %1").arg(r, 2).leftJustified(8)},
            r % 2,
            (r / 2) % 2,
            (r / 4) % 2};
}

// The channels of group 1 as a radio file holds them.
QList<ChannelRow> savedChannels(const QString& path) {
    AppState s;
    if (!ReadRadioFile(path, s).ok()) qFatal("the saved file does not read");
    MemoryGrid grid;
    GroupControls controls;
    clsGroup(s, controls, grid).Read_Group();
    QList<ChannelRow> rows;
    for (int c = 0; c < kChannelsPerGroup; ++c) rows << ChannelRows(grid, controls).row(c);
    return rows;
}

struct HistoryRig : RadioUiRig {
    std::unique_ptr<EditorWindows> windows =
        std::make_unique<EditorWindows>(state, *settings, prompter, clock);
    QString path = home.path() + QStringLiteral("/radio.tav");

    ~HistoryRig() {
        closeWindow();
        windows.reset();
    }
    // The editor on the virtual radio (labels never transferred), its image saved once.
    frmGroups& start() {
        openOnRadio(1);
        windows->attach(*w);
        w->activateWindow();
        if (!QTest::qWaitForWindowActive(w.get())) qFatal("the window did not become active");
        dialogAnswers = {path};
        w->mnuSaveAs->trigger();
        goTo(1, 0);
        return *w;
    }
    // Keys ("Ctrl+S", up to four as "A, B, Tab") to the widget with the focus.
    void press(const QString& keys) {
        // The offscreen platform leaves a closed dialog the active window.
        if (QApplication::activeWindow() != w.get()) QApplication::setActiveWindow(w.get());
        QTest::keySequence(QApplication::focusWidget(), QKeySequence(keys));
        QCoreApplication::processEvents();
    }
    QByteArray saved() {
        press("Ctrl+S");
        return readFile(path);
    }
    void fillChannels() {
        ChannelRows rows(w->grid(), w->Controls);
        w->controlsFromWidgets();
        for (int r = 0; r < 14; ++r) rows.setRow(r, content(r));
        w->widgetsFromControls();
    }
    // A change, by its name: each is one step and changes the saved file.
    void change(const QString& kind) {
        const QString csv = home.path() + QStringLiteral("/channels.csv");
        prompter.answers = {MsgResult::Yes};  // Insert Channel's question
        if (kind == "cell") goTo(1, 3), type(QStringLiteral("155.025"));
        if (kind == "same value") goTo(1, 0), type(QStringLiteral("162.4"));  // no change
        if (kind == "check box") QTest::mouseClick(w->chkScan[3], Qt::LeftButton);
        if (kind == "group list") w->cboTOT->setFocus(), press("Down");
        if (kind == "ANI/ID") w->txtID->setFocus(), w->txtID->selectAll(), press("A, B, C, Tab");
        if (kind == "paste") goTo(1, 2), press("Ctrl+R"), goTo(1, 9), press("Ctrl+V");
        if (kind == "insert") goTo(1, 1), press("Ctrl+Ins");
        // Rows 5 and 6 get row 4's channel.
        if (kind == "fill down") goTo(2, 4), press("Shift+Down, Shift+Down, Ctrl+D");
        if (kind == "CSV import") {
            writeFile(csv, "Group,Channel,Rx Freq\r\n2,3,155.13000\r\n");
            dialogAnswers = {csv};
            w->mnuImportCsv->trigger();
        }
        if (kind == "Move Banks") {  // bank 15 to bank 1
            QTimer::singleShot(0, [this] {
                QTest::mouseClick(w->findChild<frmMove*>()->btnMoveOK, Qt::LeftButton);
            });
            press("Ctrl+M");
        }
        if (kind == "radio read") {
            radio.eeprom()[128 + 7] ^= 0x5A;  // the radio's ANI/ID of group 1 differs
            press("F2");
        }
    }
};

// In the file's namespace with its rig: a unity batch must not see two of either.
class TestEditHistory : public QObject {
    Q_OBJECT
    std::unique_ptr<HistoryRig> rig;

private slots:
    void init() { rig = std::make_unique<HistoryRig>(); }
    void cleanup() { rig.reset(); }

    // The caption's mark: off after Save, Open or an Undo back to the file,
    // on after a change; a value typed again as it was is no change.
    void modifiedMark() {
        frmGroups& w = rig->start();
        QCOMPARE(w.windowTitle(),
                 "TAV File - " + rig->path + "   TAV Editor[*] \u2014 Virtual radio");
        const auto state = [&w] {
            return QList<bool>{w.isWindowModified(), w.mnuUndo->isEnabled(),
                               w.mnuRedo->isEnabled()};
        };
        QCOMPARE(state(), (QList<bool>{false, false, false}));
        rig->change("same value");
        QCOMPARE(state(), (QList<bool>{false, false, false}));
        rig->change("cell");
        QCOMPARE(state(), (QList<bool>{true, true, false}));
        rig->press("Ctrl+Z");
        QCOMPARE(state(), (QList<bool>{false, false, true}));
        rig->press("Ctrl+Y");
        rig->dialogAnswers = {rig->path};
        rig->press("Ctrl+O");
        QCOMPARE(state(), (QList<bool>{false, false, false}));
    }

    // Each row command on channels with labels and check boxes: the saved
    // file holds the moved channels whole, and Undo gives back the file
    // before it byte for byte. Rows: name|keys ("menu": the grid's context
    // menu)|current row|answer to the question|which old channel each
    // channel holds afterwards (E: empty; "": as before)
    void rowCommands_data() {
        textRows(
            "Clear Channel|Ctrl+Shift+Del|4||0 1 2 3 E 5 6 7 8 9 10 11 12 13;"
            "Insert Channel|Ctrl+Ins|4|Yes|0 1 2 3 E 4 5 6 7 8 9 10 11 12;"
            "Insert Channel, answered No|Ctrl+Ins|4|No|;"
            "Insert Channel, last row|Ctrl+Ins|13|Yes|0 1 2 3 4 5 6 7 8 9 10 11 12 E;"
            "Delete Channel|Ctrl+Del|4||0 1 2 3 5 6 7 8 9 10 11 12 13 E;"
            "Delete Channel, first row|Ctrl+Del|0||1 2 3 4 5 6 7 8 9 10 11 12 13 E;"
            "Delete Channel|menu|6||0 1 2 3 4 5 7 8 9 10 11 12 13 E;"
            "Fill Down|Ctrl+D|11||0 1 2 3 4 5 6 7 8 9 10 11 11 11;"
            "Fill Down, last row|Ctrl+D|13||");
    }
    void rowCommands() {
        QFETCH(QStringList, row);
        frmGroups& w = rig->start();
        rig->fillChannels();
        const QByteArray before = rig->saved();
        const QList<ChannelRow> old = savedChannels(rig->path);
        QCOMPARE(old.value(5), content(5));
        rig->goTo(1, row[2].toInt());
        if (row[0].startsWith("Fill Down")) rig->press("Shift+Down, Shift+Down");
        rig->prompter.answers = {row[3] == "No" ? MsgResult::No : MsgResult::Yes};
        if (row[1] == "menu") {
            const QRect cell = w.Grid->visualRect(w.Grid->model()->index(row[2].toInt(), 2));
            QTimer::singleShot(0, [&] {
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                QVERIFY(menu);
                menu->setActiveAction(w.mnuDeleteChannel);
                QTest::keyClick(menu, Qt::Key_Return);
            });
            // The right button makes the row current; this platform sends no menu event.
            QTest::mouseClick(w.Grid->viewport(), Qt::RightButton, {}, cell.center());
            QContextMenuEvent menuKey(QContextMenuEvent::Mouse, cell.center(), cell.center());
            QApplication::sendEvent(w.Grid->viewport(), &menuKey);
        } else {
            rig->press(row[1]);
        }
        QCOMPARE(rig->prompter.texts(),
                 row[1] == "Ctrl+Ins" ? QStringList{"Channel 14 holds data, which goes when the "
                                                    "channels move down. Insert a channel?"}
                                      : QStringList());
        QCOMPARE(rig->clock.beeps(), row[0].endsWith("last row") && row[1] == "Ctrl+D" ? 1 : 0);
        const QStringList holds = row[4].split(u' ', Qt::SkipEmptyParts);
        // One step for the channels filled in, one for the command.
        QCOMPARE(w.history().steps(), holds.isEmpty() ? 1 : 2);
        const QByteArray after = rig->saved();
        const QList<ChannelRow> now = savedChannels(rig->path);
        for (int r = 0; r < 14; ++r) {
            const QString h = holds.value(r, QString::number(r));
            QCOMPARE(now[r], h == "E" ? ChannelRows::empty() : old[h.toInt()]);
            QCOMPARE(w.chkScan[r]->isChecked(), now[r].scan != 0);
        }
        QCOMPARE(after == before, holds.isEmpty());
        if (holds.isEmpty()) return;
        rig->press("Ctrl+Z");
        QCOMPARE(rig->saved(), before);
    }

    // Ten changes of every kind, each marking the caption until saved, then
    // ten times Undo and ten times Redo: each step gives back the file saved
    // at that point, byte for byte; past the ends the keys do nothing.
    void undoAndRedoStepByStep() {
        frmGroups& w = rig->start();
        const QStringList kinds{"cell",  "check box", "radio read", "group list", "ANI/ID",
                                "paste", "insert",    "fill down",  "CSV import", "Move Banks"};
        QList<QByteArray> files{rig->saved()};
        for (const QString& kind : kinds) {
            rig->change(kind);
            QVERIFY2(w.isWindowModified() && w.mnuUndo->isEnabled(), qPrintable(kind));
            files << rig->saved();
            QVERIFY(!w.isWindowModified());
            QVERIFY2(files.last() != files[files.size() - 2], qPrintable(kind));
        }
        for (int k = 10; k >= 0; --k) {
            QCOMPARE(w.mnuUndo->isEnabled(), k > 0);
            if (k < 10) QCOMPARE(rig->saved(), files[k]);
            rig->press("Ctrl+Z");
        }
        QCOMPARE(rig->saved(), files[0]);
        for (int k = 1; k <= 11; ++k) {
            QCOMPARE(w.mnuRedo->isEnabled(), k <= 10);
            rig->press(k % 2 ? "Ctrl+Shift+Z" : "Ctrl+Y");
            QCOMPARE(rig->saved(), files[std::min(k, 10)]);
        }
    }

    // Values stored by the global parameters window are one step: marked,
    // saved, and undone back to the file as it was.
    void globalsWindowStoreIsAStep() {
        frmGroups& w = rig->start();
        const QByteArray before = rig->saved();
        w.mnuGlobals->trigger();
        auto* globals = w.findChild<frmGlobals*>();
        QVERIFY(globals);
        QTest::qWait(50);  // the window reads the image after its opening pause
        QComboBox* list = globals->cboBattSave;
        QTest::keyClick(list, list->currentIndex() + 1 < list->count() ? Qt::Key_Down : Qt::Key_Up);
        QVERIFY(!w.isWindowModified());  // not in the image before it is stored
        rig->prompter.answers = {MsgResult::Yes};
        globals->mnuSave->trigger();
        QVERIFY(w.isWindowModified());
        const QByteArray after = rig->saved();
        QVERIFY(after != before);
        QVERIFY(!w.isWindowModified());
        rig->press("Ctrl+Z");
        QCOMPARE(rig->saved(), before);
    }

    // Undo of a cell edit puts the cell back and the cursor on its row, in the
    // column it was in. After a group switch Undo does nothing until
    // something is changed in the group shown; that change is then undone,
    // and nothing before it.
    void oneCellUndoAndTheGroupSwitch() {
        frmGroups& w = rig->start();
        const QString old = rig->cell(1, 3);
        rig->change("cell");
        rig->goTo(4, 8);
        rig->press("Ctrl+Z");
        const QModelIndex at = w.Grid->currentIndex();
        QCOMPARE((QList<int>{at.column(), at.row()}), (QList<int>{4, 3}));
        QCOMPARE(rig->cell(1, 3), old);
        rig->press("Ctrl+Y");
        QCOMPARE(rig->cell(1, 3), "155.02500");
        const QByteArray edited = rig->saved();
        rig->selectGroup(4);
        QVERIFY(!w.mnuUndo->isEnabled());
        rig->press("Ctrl+Z");
        QCOMPARE(rig->saved(), edited);
        QTest::mouseClick(w.chkScan[0], Qt::LeftButton);
        rig->press("Ctrl+Z");
        QVERIFY(!w.mnuUndo->isEnabled());
        QCOMPARE(rig->saved(), edited);
    }
};

}  // namespace

TAV_TEST(TestEditHistory);
#include "tst_edithistory.moc"
