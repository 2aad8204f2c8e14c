// The main window: group switching, the grid's keys and text rules, undo,
// copy and paste, the offset entry, closing, and the ports.

#include "TestMain.h"
#include "UiFixture.h"
#include "app/QtSerialLink.h"
#include "files/RecentFiles.h"
#include "model/GridText.h"
#include "model/MGlobals.h"
#include "ui/HelpWindow.h"
#include "ui/PortMaker.h"

using namespace tav;
using namespace tav::test;

namespace {

// What the grid cells hold before a grid key test: distinct in every cell.
// Where a user's keys go: the pick list while it is open, else the focused widget.
QWidget* keyTarget() {
    QWidget* popup = QApplication::activePopupWidget();
    return popup ? popup : QApplication::focusWidget();
}

QString preset(int column, int row) {
    return column % 2 ? QString("%1.00000").arg(140 + 10 * column + row)
                      : QString("%1.0").arg(100 * column + row);
}

}  // namespace

class TestFrmGroups : public QObject {
    Q_OBJECT
    std::unique_ptr<UiRig> rig;

private slots:
    void init() { rig = std::make_unique<UiRig>(); }
    void cleanup() { rig.reset(); }

    // Group 1 at start-up (nothing stored over it), then the group left is
    // stored and the new one shown.
    void switchingStoresTheGroupLeftAndShowsTheNewOne() {
        frmGroups& w = rig->open();
        QCOMPARE(rig->cell(1, 0), "162.40000");
        rig->setCell(1, 0, QStringLiteral("155.02500"));
        rig->setCell(5, 2, QStringLiteral("HELLO"));
        w.txtID->setText(QStringLiteral("12AB"));
        rig->selectGroup(3);
        uint8_t b[2];
        QVERIFY(FreqTextToBytes(QStringLiteral("155.02500"), b[0], b[1]));
        const auto& ee = rig->state.EEImage;
        QCOMPARE((QList<int>{ee[128 + 16], ee[128 + 17], ee[128 + 7]}),
                 (QList<int>{b[0], b[1], 0xAB}));
        QCOMPARE(rig->cell(1, 0), "162.40000");  // group 4's defaults
        QCOMPARE(w.txtGroupLabel->text(), "GROUP 4 ");
        rig->selectGroup(0);
        QCOMPARE((QStringList{rig->cell(1, 0), rig->cell(5, 2), w.txtID->text()}),
                 (QStringList{"155.02500", "HELLO   ", "00012AB"}));
    }

    // Typed into row 0 (the frequency rule is the core's: here only that
    // typing reaches it), then a key in row 4. Space, C and S act on the
    // current cell's own column only, whichever cell was edited before: C
    // copies the column two to the left in every row, S in the current row.
    void gridKeys_data() {
        QTest::addColumn<int>("edited");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QList<int>>("copied");
        QList<int> all;
        for (int r = 1; r < 14; ++r) all << r;
        const auto row = [](const char* name, int edited, const char* typed, const char* shown,
                            int beeps, int column = 0, const char* key = "",
                            QList<int> copied = {}) {
            QTest::newRow(name) << edited << QString(typed) << QString(shown) << beeps << column
                                << QString(key) << copied;
        };
        row("short entry 15.5 is 155", 3, "15.5", "155.00000", 0);
        row("letter refused at once", 1, "15x", "150.00000", 1);
        row("channel number fixed", 0, "9", "1", 0);
        row("Space on Chan", 3, "156", "156.00000", 0, 0, " ");
        row("S on Rec CG", 3, "156", "156.00000", 0, 2, "s");
        row("C on Ch Label", 4, "071.9", "071.9", 0, 5, "c");
        row("S on Tx CG", 3, "156", "156.00000", 0, 4, "s", {4});
        row("S on Tx Freq", 4, "071.9", "071.9", 0, 3, "S", {4});
        row("C on Tx CG", 3, "156", "156.00000", 0, 4, "c", all);
    }
    void gridKeys() {
        QFETCH(int, edited);
        QFETCH(QString, typed);
        QFETCH(int, column);
        QFETCH(QString, key);
        QFETCH(QList<int>, copied);
        frmGroups& w = rig->open();
        for (int r = 0; r < 14; ++r)
            for (int c = 1; c <= 4; ++c) rig->setCell(c, r, preset(c, r));
        rig->goTo(edited, 0);
        rig->type(typed);
        QTEST(rig->cell(edited, 0), "shown");
        QTEST(rig->clock.beeps(), "beeps");
        rig->goTo(column, 4);
        rig->type(key, Qt::Key(0));
        for (int r = 1; r < 14; ++r)
            for (int c = 1; c <= 4; ++c)
                QCOMPARE(rig->cell(c, r), preset(c == column && copied.contains(r) ? c - 2 : c, r));
        const QModelIndex at = w.Grid->currentIndex();
        QCOMPARE(QPoint(at.column(), at.row()), copied.size() > 1 ? QPoint() : QPoint(column, 4));
        QVERIFY(!w.frmOffset->isVisible());
    }

    // What the window takes is what the radio holds: an entry the radio
    // cannot hold is refused with a beep, the old value and why on the status
    // bar, and the saved file keeps its bytes; an accepted one reads back from
    // the file as shown. Grid column (0: the Group Label)|typed|shown ("":
    // the old value)|beeps|reason key of the status line ("": none).
    void entriesTheRadioCannotHold_data() {
        textRows(
            "1|155.0025||1|hold;1|155.0075||1|hold;1|155.003125||1|raster;"
            "1|155.0125|155.01250|0|;1|15.5|155.00000|0|;2|D999||1|guard;2|c||1|guard;"
            "2|1600||1|guard;2|d023-|D023-|0|;2|67|067.0|0|;5|lower~\u00e9{}||1|~;"
            "5|abcdefghi||1|long;5|lower|LOWER|0|;0|~||1|~;0|ABCDEFGXY|ABCDEFGX|1|long;"
            "0|lower|LOWER|0|;6|12G|12|1|hex;"
            "6|1G2|12|1|");
    }
    void entriesTheRadioCannotHold() {
        QFETCH(QStringList, row);
        const int column = row[0].toInt();
        frmGroups& w = rig->open();
        // Column 0 is the Group Label field, 6 the ANI/ID box, the others the grid's.
        QLineEdit* box = column == 6 ? w.txtID : w.txtGroupLabel;
        const auto text = [&] { return column % 6 ? rig->cell(column, 3) : box->text(); };
        rig->setCell(5, 3, QStringLiteral("OLD"));
        const QString old = text();
        const QString path = rig->home.path() + QStringLiteral("/entry.tav");
        rig->dialogAnswers = {path, path, path};
        w.mnuSave->trigger();
        const QByteArray before = readFile(path);
        w.statusBar()->showMessage(QStringLiteral("an earlier refusal"));

        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        column % 6 ? rig->goTo(column, 3) : box->setFocus();
        box->selectAll();
        // The first key opens the cell editor, which has the focus then.
        typeKeys(QApplication::focusWidget(), row[1].left(1));
        typeKeys(QApplication::focusWidget(), row[1].mid(1) + u'\r');
        QCoreApplication::processEvents();  // Enter closes the cell editor by a queued call
        const QString shown = row[2].isEmpty() ? old : row[2];
        QCOMPARE(text(), shown);
        QCOMPARE(rig->clock.beeps(), row[3].toInt());
        const QString field = QStringList{"Group Label", "Rec Freq",     "Rec CG", "", "",
                                          "Ch Label",    "ANI/ID Number"}[column];
        QCOMPARE(w.statusBar()->currentMessage(),
                 row[4].isEmpty() ? "" : field + " \"" + row[1] + "\": " + entryReason(row[4]));

        w.mnuSave->trigger();
        if (row[2].isEmpty()) QCOMPARE(readFile(path), before);
        w.mnuOpen->trigger();
        // Labels come back filled with blanks, the ANI/ID number with leading zeros.
        const QString reopened = column == 6                  ? shown.rightJustified(7, u'0')
                                 : column == 1 || column == 2 ? shown
                                                              : shown.leftJustified(8);
        QCOMPARE(text(), reopened);
    }

    // Space in Tx Freq opens the offset entry; Enter there sets the row's
    // Tx Freq to its Rec Freq plus the offset, wherever the cursor went.
    void offsetEntry_data() {
        QTest::addColumn<QStringList>("typedShown");  // typed, the field's text, the status
        QTest::addColumn<QString>("tx");
        QTest::addColumn<int>("beeps");
        QTest::newRow("minus 2") << QStringList{"-2\r", "-2"} << "153.00000" << 0;
        QTest::newRow("plus 30 out of band")
            << QStringList{"30\r", "30", "Tx Freq \"185\": outside the band 143 to 174 MHz"}
            << "none" << 1;
        QTest::newRow("a sign and a point wait") << QStringList{"-.", "-."} << "none" << 0;
        QTest::newRow("a letter clears")
            << QStringList{"q", "", "Offset \"q\": not a frequency offset in MHz"} << "none" << 1;
    }
    void offsetEntry() {
        QFETCH(QStringList, typedShown);
        frmGroups& w = rig->open();
        rig->setCell(1, 7, QStringLiteral("155.00000"));
        rig->goTo(3, 7);
        rig->type(QStringLiteral(" "), Qt::Key(0));
        QVERIFY(w.frmOffset->isVisible() && !w.fraANI->isVisible());
        rig->goTo(1, 2);
        typeKeys(w.txtOffset, typedShown[0]);
        QCOMPARE(w.txtOffset->text(), typedShown[1]);
        QTEST(rig->cell(3, 7), "tx");
        QTEST(rig->clock.beeps(), "beeps");
        QCOMPARE(w.statusBar()->currentMessage(), typedShown.value(2));
        QCOMPARE(w.fraANI->isVisible(), typedShown[0].endsWith(u'\r'));
        if (w.fraANI->isVisible()) return;
        QTest::keyClick(w.txtOffset, Qt::Key_F1);
        QCOMPARE(boxLines(rig->prompter.shown),
                 QStringList{"Enter the frequency offset, eg: -2, 7 |  | Ok | None"});
    }

    // The highlight shows what Copy All took, until the user goes on.
    void copyHighlightLastsUntilTheNextClickOrEdit_data() {
        QTest::addColumn<bool>("doubleClick");
        QTest::addColumn<QString>("next");
        for (const bool dbl : {false, true})
            for (const char* next : {"click", "typing", "check box"})
                QTest::addRow("%s, %s", dbl ? "double click" : "Copy All", next) << dbl << next;
    }
    void copyHighlightLastsUntilTheNextClickOrEdit() {
        QFETCH(QString, next);
        frmGroups& w = rig->open();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        rig->goTo(2, 3);
        const auto centre = [&w](int column, int row) {
            return w.Grid->visualRect(w.Grid->model()->index(row, column)).center();
        };
        QFETCH(bool, doubleClick);
        if (doubleClick) QTest::mouseDClick(w.Grid->viewport(), Qt::LeftButton, {}, centre(2, 3));
        if (!doubleClick) w.mnuAll->trigger();
        QCOMPARE(w.Grid->selectionModel()->selectedIndexes().size(), 14 * 6);
        if (next == "click")
            QTest::mouseClick(w.Grid->viewport(), Qt::LeftButton, {}, centre(1, 5));
        if (next == "typing") rig->type(QStringLiteral("X"), Qt::Key(0));
        if (next == "check box") QTest::keyClick(w.chkScan[4], Qt::Key_Space);
        QVERIFY(w.Grid->selectionModel()->selectedIndexes().size() <= 1);
    }

    void undoRestoresTheRecordedCellButNotAfterASwitch() {
        frmGroups& w = rig->open();
        rig->goTo(2, 3);
        w.UndoArmed = true;  // as a click in the grid does
        rig->type(QStringLiteral("D023"));
        QCOMPARE(rig->cell(2, 3), "D023");
        w.mnuUndo->trigger();
        QCOMPARE(rig->cell(2, 3), "000.0");
        rig->goTo(5, 1);
        w.UndoArmed = true;
        rig->type(QStringLiteral("X"));
        rig->selectGroup(1);
        rig->selectGroup(0);
        const QString stored = rig->cell(5, 1);
        w.mnuUndo->trigger();
        QCOMPARE(rig->cell(5, 1), stored);
    }

    // A copied row pastes into the current row, Copy All into the whole
    // group; a pasted field the radio cannot hold leaves its cell alone and
    // says why; foreign clipboard text, even of a copy's length, is refused.
    void copyAndPaste() {
        frmGroups& w = rig->open();
        const QStringList cells{"151.02500", "D023-", "none", "067.0", ""};
        for (int c = 1; c < 6; ++c) rig->setCell(c, 2, cells[c - 1]);
        w.chkScan[2]->setChecked(true);
        w.chkNarr[2]->setChecked(true);
        w.chkLoPower[2]->setChecked(false);
        rig->goTo(3, 2);
        w.mnuRow->trigger();
        const QString row = QStringLiteral("3\t151.02500\tD023-\tnone\t067.0\t\t1\t1\t0\r");
        QCOMPARE(QGuiApplication::clipboard()->text(), row);
        rig->goTo(1, 10);
        w.mnuPaste->trigger();
        QCOMPARE(rig->cell(0, 10), "11");
        for (int c = 1; c < 6; ++c) QCOMPARE(rig->cell(c, 10), rig->cell(c, 2));
        QVERIFY(w.chkScan[10]->isChecked() && w.chkNarr[10]->isChecked());
        QVERIFY(!w.chkLoPower[10]->isChecked());
        const QString bad = QStringLiteral("3\t155.0025\tD999\tnone\t067.0\tok\t1\t1\t0\r");
        QGuiApplication::clipboard()->setText(bad);
        w.CopiedLength = int(bad.size());
        w.mnuPaste->trigger();
        QCOMPARE(
            (QStringList{rig->cell(1, 10), rig->cell(2, 10), rig->cell(5, 10),
                         w.statusBar()->currentMessage(), QString::number(rig->clock.beeps())}),
            (QStringList{"151.02500", "D023-", "OK", "Rec CG \"D999\": " + entryReason("guard"),
                         "2"}));
        for (const QString& foreign : {QString(row.size(), u'x'), QStringLiteral("hello")}) {
            QGuiApplication::clipboard()->setText(foreign);
            w.mnuPaste->trigger();
            QVERIFY(!w.pasteAvailable());
        }
        QCOMPARE(rig->prompter.texts(),
                 QStringList(2, QStringLiteral("No record has been selected to the clipboard")));
        QCOMPARE(rig->cell(1, 0), "162.40000");
        w.mnuAll->trigger();
        rig->selectGroup(5);
        for (int r = 0; r < 14; ++r) rig->setCell(1, r, QStringLiteral("150.00000"));
        w.mnuPaste->trigger();
        QCOMPARE((QStringList{rig->cell(1, 10), rig->cell(1, 13)}),
                 (QStringList{"151.02500", "162.46500"}));
        QCOMPARE(w.Grid->currentIndex().row(), 0);
    }

    // Our own copies are known by their shape: nine fields, check values 0 or 1.
    void rowShape_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("ok");
        const QString row = QStringLiteral("1\t162.40000\t000.0\tnone\t000.0\tCh  1   \t1\t0\t1\r");
        QTest::newRow("one row") << row << 1 << true;
        QTest::newRow("fourteen rows") << row.repeated(14) << 14 << true;
        QTest::newRow("one row asked for 14") << row << 14 << false;
        QTest::newRow("no carriage return") << row.chopped(1) << 1 << false;
        QTest::newRow("eight fields") << QStringLiteral("1\t2\t3\t4\t5\t6\t0\t0\r") << 1 << false;
        QTest::newRow("check value 2")
            << QStringLiteral("1\t2\t3\t4\t5\t6\t0\t2\t0\r") << 1 << false;
    }
    void rowShape() {
        QFETCH(QString, text);
        QFETCH(int, rows);
        QTEST(grid::hasRowShape(text, rows), "ok");
    }

    // The Edit menu's shortcuts are its commands wherever the focus is, also
    // in a text box or an open cell editor, which would take them as their
    // own select-all, paste or undo.
    void editShortcutsWinOverTextFields_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("command");
        const QList<QPair<int, const char*>> keys{{Qt::Key_A, "mnuAll"},
                                                  {Qt::Key_R, "mnuRow"},
                                                  {Qt::Key_V, "mnuPaste"},
                                                  {Qt::Key_Z, "mnuUndo"}};
        for (const char* field : {"Ch Label", "txtGroupLabel", "txtID", "cboCurrentGroup"})
            for (const auto& [key, command] : keys)
                QTest::addRow("%s, Ctrl+%c", field, char(key)) << field << key << command;
    }
    void editShortcutsWinOverTextFields() {
        QFETCH(QString, field);
        QFETCH(int, key);
        QFETCH(QString, command);
        frmGroups& w = rig->openActive();
        rig->goTo(1, 2);
        w.mnuRow->trigger();                              // a row on the clipboard, Paste enabled
        QTest::mouseClick(w.chkScan[0], Qt::LeftButton);  // a change, Undo enabled
        QWidget* target = w.findChild<QWidget*>(field);
        if (field == "Ch Label") {
            rig->goTo(grid::ChLabel, 6);
            rig->type(QStringLiteral("Q"), Qt::Key(0));
            target = w.Grid->activeEditor();
        }
        QVERIFY(target);
        target->setFocus();
        QSignalSpy ran(w.findChild<QAction*>(command), &QAction::triggered);
        const char* property = qobject_cast<QComboBox*>(target) ? "currentText" : "text";
        const QString before = target->property(property).toString();
        QTest::keyClick(target, Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(ran.size(), 1);
        // The cell editor is closed by the command itself.
        if (field != "Ch Label") QCOMPARE(target->property(property).toString(), before);
        w.Grid->finishEdit();
        QVERIFY(!rig->cell(grid::ChLabel, 6).contains(u'\t'));
    }

    void closingAsksAndAFailedSaveKeepsTheWindowOpen() {
        frmGroups& w = rig->open();
        rig->prompter.answers = {MsgResult::Cancel, MsgResult::Yes};
        QVERIFY(!w.close());  // Cancel
        QVERIFY(!w.close());  // Yes, then the file dialog was cancelled
        QCOMPARE(boxLines(rig->prompter.shown),
                 QStringList(2, "Save before exit? |  | YesNoCancel | Question"));
        QCOMPARE(rig->dialogsShown, (QList<QPair<bool, QString>>{{true, QString()}}));
        rig->dialogAnswers = {rig->home.path() + QStringLiteral("/no/such/folder/x.tav")};
        rig->prompter.answers = {MsgResult::Yes, MsgResult::Ok};
        QVERIFY(!w.close());  // the save failed
        QCOMPARE(rig->prompter.shown.last().title, "File Error");
        const QString good = rig->home.path() + QStringLiteral("/saved.tav");
        rig->dialogAnswers = {good};
        rig->prompter.answers = {MsgResult::Yes};
        QVERIFY(w.close());
        QCOMPARE(QFileInfo(good).size(), qint64(4127));
        rig->w.reset();
    }

    // Keys go to the widget that has the focus: for the group selector that
    // is the combo box itself, which hands them on to its line edit.
    void idAndGroupNumberRefuseWrongKeys_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QStringList>("typedShown");
        QTest::addColumn<QList<int>>("beepsGroup");
        const QString group = QStringLiteral("cboCurrentGroup");
        QTest::newRow("ID: G and sign") << "txtID" << QStringList{"1a-G9", "1A9"} << QList{2, 0};
        QTest::newRow("group 20") << group << QStringList{"20", "1"} << QList{1, 0};
        QTest::newRow("group 12") << group << QStringList{"12", "12"} << QList{0, 0};
        QTest::newRow("group 3 chosen, then 37")
            << group << QStringList{"3\r7", "3"} << QList{1, 2};
    }
    void idAndGroupNumberRefuseWrongKeys() {
        QFETCH(QString, field);
        QFETCH(QStringList, typedShown);
        frmGroups& w = rig->open();
        w.txtID->clear();
        w.cboCurrentGroup->lineEdit()->selectAll();
        typeKeys(w.findChild<QWidget*>(field), typedShown[0]);
        QCOMPARE(field == "txtID" ? w.txtID->text() : w.cboCurrentGroup->currentText(),
                 typedShown[1]);
        QTEST((QList<int>{rig->clock.beeps(), w.intCurrentGroup}), "beepsGroup");
    }

    // Port 1 unless another was chosen, even with no device: a simulated radio
    // chosen unasked would read made-up data and report writes that reached
    // no radio.
    void portChoice_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("port");
        QTest::newRow("nothing stored") << "" << 1;
        QTest::newRow("port 3 stored") << "3" << 3;
        QTest::newRow("virtual stored") << "V" << 0;
    }
    void portChoice() {
        QFETCH(QString, stored);
        QFETCH(int, port);
        if (stored == "V") rig->settings->saveFlag("Comm", "Virtual", true);
        if (stored == "3") rig->settings->save("Comm", "Port", stored);
        QList<int> made;
        EditorServices s = rig->services();
        s.openPort = [&made](int p) { return made << p, std::unique_ptr<SerialLink>(); };
        frmGroups& w = rig->open(std::move(s));
        QCOMPARE((QList<int>{w.CommPort, w.mnuCommPort[port]->isChecked()}), (QList<int>{port, 1}));
        QCOMPARE(made, QList<int>{port});
        QCOMPARE(w.windowTitle(), port == 0 ? "TAVEDWIN  -  TAV Editor[*] \u2014 Virtual radio"
                                            : "TAVEDWIN  -  TAV Editor[*]");
    }

    // The ports are looked at each time the Config menu opens; the virtual
    // radio, once chosen there, is named in the caption whatever file is open.
    void portsMenuFollowsTheDevicesAndNamesTheVirtualRadio() {
        QStringList present;
        EditorServices s = rig->services();
        s.deviceExists = [&present](const QString& d) { return present.contains(d); };
        frmGroups& w = rig->open(std::move(s));
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto* config = w.findChild<QMenu*>(QStringLiteral("mnuConfig"));
        QStringList seen;
        for (int plugged = 0; plugged < 2; ++plugged) {
            QTest::keyClick(&w, Qt::Key_C, Qt::AltModifier);
            QTRY_VERIFY(config->isVisible());
            seen << w.mnuCommPort[3]->text();
            if (!plugged) QTest::keyClick(config, Qt::Key_Escape);
            present << QStringLiteral("/dev/ttyUSB0");  // the adapter is plugged in
        }
        QCOMPARE(seen, (QStringList{"Use Comm Port 3 (/dev/ttyUSB0, not present)",
                                    "Use Comm Port 3 (/dev/ttyUSB0)"}));
        config->setActiveAction(w.mnuCommPort[0]);
        QTest::keyClick(config, Qt::Key_Return);
        QCOMPARE(w.CommPort, 0);
        const QString file = rig->home.path() + QStringLiteral("/bench.tav");
        rig->dialogAnswers = {file};
        w.mnuSaveAs->trigger();
        const QString fileCaption = "TAV File - " + file + "   TAV Editor[*]";
        QCOMPARE(w.windowTitle(), fileCaption + " \u2014 Virtual radio");
        w.mnuCommPort[3]->trigger();
        QCOMPARE(w.windowTitle(), fileCaption);
    }

    // Tab from the grid goes round every control of the window once and back
    // to the grid; the check boxes of a column switched off are passed over.
    // A set of option buttons is one stop: the arrows choose within it.
    void tabGoesRoundTheWholeWindow_data() {
        QTest::addColumn<bool>("narrow");
        QTest::newRow("every column") << true;
        QTest::newRow("narrow band off") << false;
    }
    void tabGoesRoundTheWholeWindow() {
        QFETCH(bool, narrow);
        rig->settings->saveFlag(QStringLiteral("Features"), QStringLiteral("Band"), narrow);
        frmGroups& w = rig->openActive();
        w.Grid->setFocus();
        QStringList chain;
        while (chain.size() < 100 && chain.value(chain.size() - 1) != "Grid") {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            chain << QApplication::focusWidget()->objectName();
        }
        QStringList expected;
        for (const char* column : {"chkScan", "chkNarr", "chkLoPower"})
            for (int i = 0; i < 14 && (narrow || column != QLatin1String("chkNarr")); ++i)
                expected << QStringLiteral("%1_%2").arg(column).arg(i);
        expected
            << QStringLiteral(
                   "cboBlTimeout chkBlKeypress chkBlOther chkBlChannel chkBLScanState "
                   "priModeA cboPri1Chan optBattSaveOff optUCGDisabled cboUCGChan chkUCGEncode "
                   "chkPriKeyLock chkENTCLRLock cboBCI cboANI cboCurrentGroup txtGroupLabel "
                   "txtID cboScan cboTOT chkAlphaEnabled Grid")
                   .split(u' ');
        QCOMPARE(chain, expected);
    }

    // Arrows move within the grid; Tab and Ctrl+Tab leave it forwards, Shift+Tab
    // backwards, also from an open cell editor, whose entry is kept.
    void gridKeysAndLeavingIt_data() {
        // name|typed into Rec Freq of row 3|keys|focus afterwards|current column and row
        textRows(
            "Tab||Tab|chkScan_0|1 3;Ctrl+Tab||Ctrl+Tab|chkScan_0|1 3;"
            "Shift+Tab||Shift+Backtab|chkAlphaEnabled|1 3;Down||Down|Grid|1 4;"
            "Right||Right|Grid|2 3;Tab, editing|155.025|Tab|chkScan_0|1 3;"
            "Shift+Tab, editing|155.025|Shift+Backtab|chkAlphaEnabled|1 3");
    }
    void gridKeysAndLeavingIt() {
        QFETCH(QStringList, row);
        frmGroups& w = rig->openActive();
        rig->goTo(grid::RecFreq, 3);
        const QString before = rig->cell(grid::RecFreq, 3);
        rig->type(row[1], Qt::Key(0));
        QTest::keySequence(QApplication::focusWidget(), QKeySequence(row[2]));
        const QModelIndex at = w.Grid->currentIndex();
        QCOMPARE((QStringList{QApplication::focusWidget()->objectName(),
                              QStringLiteral("%1 %2").arg(at.column()).arg(at.row())}),
                 row.mid(3, 2));
        QVERIFY(!w.Grid->isEditing());
        QCOMPARE(rig->cell(grid::RecFreq, 3), row[1].isEmpty() ? before : "155.02500");
    }

    // The help window closes on Escape, Ctrl+W and its Close button.
    void helpWindowCloses_data() {
        QTest::addColumn<QKeySequence>("key");
        QTest::newRow("Escape") << QKeySequence(Qt::Key_Escape);
        QTest::newRow("Ctrl+W") << QKeySequence(Qt::CTRL | Qt::Key_W);
        QTest::newRow("Close button") << QKeySequence();
    }
    void helpWindowCloses() {
        QFETCH(QKeySequence, key);
        frmGroups& w = rig->openActive();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_H, Qt::ControlModifier);
        QPointer<HelpWindow> help = w.findChild<HelpWindow*>();
        QVERIFY(help && QTest::qWaitForWindowActive(help));
        QTRY_COMPARE(QApplication::focusWidget(), help->browser);
        if (!key.isEmpty()) QTest::keySequence(QApplication::focusWidget(), key);
        if (key.isEmpty()) QTest::mouseClick(help->cmdClose, Qt::LeftButton);
        QVERIFY(!help || !help->isVisible());
        QTRY_VERIFY(help.isNull());
    }

    // The channel-guard cells offer the standard codes containing what was
    // typed; arrow keys and Enter pick one, a whole code typed is taken as it
    // is, a code the radio cannot hold is refused as ever. Then the saved bytes.
    // column|typed|downs|cell after Enter|offered|beeps|file bytes H L
    void guardPickList_data() {
        textRows(
            "2|d02|1|D023|D023 D023- D025 D025- D026 D026-|0|8813;"
            "4|67|2|167.9|067.0 167.9|0|1679;"
            "2|D023-|0|D023-|D023-|0|C813;"
            "2|D080|0|D754||1|89EC");
    }
    void guardPickList() {
        QFETCH(QStringList, row);
        const int column = row[0].toInt();
        frmGroups& w = rig->openActive();
        rig->setCell(column, 3, QStringLiteral("D754"));
        rig->goTo(column, 3);
        for (const QChar c : row[1]) typeKeys(keyTarget(), QString(c));
        const auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor && editor->completer());
        QStringList offered;
        const QAbstractItemModel* list = editor->completer()->completionModel();
        for (int i = 0; editor->completer()->popup()->isVisible() && i < list->rowCount(); ++i)
            offered << list->index(i, 0).data().toString();
        QCOMPARE(offered.join(u' '), row[4]);
        for (int i = 0; i < row[2].toInt(); ++i) QTest::keyClick(keyTarget(), Qt::Key_Down);
        QTest::keyClick(keyTarget(), Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(rig->cell(column, 3), row[3]);
        QVERIFY(!w.Grid->isEditing());
        QCOMPARE(rig->clock.beeps(), row[5].toInt());
        QCOMPARE(w.statusBar()->currentMessage().isEmpty(), row[5] == "0");
        const QString path = rig->home.path() + QStringLiteral("/cg.tav");
        rig->dialogAnswers = {path};
        w.mnuSave->trigger();
        // Group 1, channel 4: Rec CG at 16 + 8 x 3 + 2 of page 1, Tx CG 4 further.
        QCOMPARE(readFile(path).mid(kPageSize + 42 + (column == 4 ? 4 : 0), 2).toHex().toUpper(),
                 row[6].toLatin1());
    }

    // File menu: the files opened or saved last, the most recent first, kept
    // in the settings; Alt+N opens the Nth; one that is gone is taken off
    // with a message. With none stored there are no items and Alt+1 does nothing.
    void recentFiles() {
        frmGroups& w = rig->openActive();
        const auto items = [&w] {
            QStringList texts;
            for (QAction* a : w.mnuRecent)
                if (a->isVisible()) texts << a->text();
            return texts.join(u' ');
        };
        const auto altKey = [](int n) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(Qt::Key_0 + n), Qt::AltModifier);
        };
        altKey(1);
        QCOMPARE(items(), "");
        QVERIFY(!w.mnuRecentSeparator->isVisible());
        QVERIFY(rig->dialogsShown.isEmpty() && rig->prompter.shown.isEmpty());
        const QString dir = rig->home.path() + u'/';
        for (int i = 0; i < 6; ++i) {  // a.tav to f.tav, each with its own Rec Freq
            rig->setCell(1, 0, QStringLiteral("15%1.00000").arg(i));
            rig->dialogAnswers = {dir + QChar(u'a' + i) + ".tav"};
            w.mnuSaveAs->trigger();
        }
        QCOMPARE(items(), "&1 f.tav &2 e.tav &3 d.tav &4 c.tav &5 b.tav");
        QVERIFY(w.mnuRecentSeparator->isVisible());
        QVERIFY(QFile::remove(dir + "d.tav"));
        altKey(3);
        QCOMPARE(boxLines(rig->prompter.shown),
                 QStringList{dir + "d.tav is no longer there; it was taken off the recent files "
                                   "list. | File Error | Ok | Exclamation"});
        QCOMPARE(items(), "&1 f.tav &2 e.tav &3 c.tav &4 b.tav");
        QCOMPARE(w.Files->CurrentFileName, dir + "f.tav");
        altKey(4);
        QCOMPARE(rig->cell(1, 0), "151.00000");
        QCOMPARE(w.windowTitle(), FileOpenSave::captionFor(dir + "b.tav") + "[*]");
        QVERIFY(!w.isWindowModified());
        QCOMPARE(items(), "&1 b.tav &2 f.tav &3 e.tav &4 c.tav");
        QCOMPARE(RecentFilePaths(*rig->settings),
                 (QStringList{dir + "b.tav", dir + "f.tav", dir + "e.tav", dir + "c.tav"}));
        QCOMPARE(rig->prompter.shown.size(), 1);
    }

    void missingDeviceSuggestsTheVirtualRadio() {
        const QString device = QStringLiteral("/dev/tav-no-such-port");
        rig->settings->setPortDevice(1, device);
        PortMaker ports(*rig->settings, rig->clock);
        EditorServices s = rig->services();
        s.openPort = [&ports](int p) { return ports.make(p); };
        rig->open(std::move(s)).mnuReadGlobal->trigger();
        QCOMPARE(rig->prompter.texts().value(0), "Unable to open Comm Port");
        QCOMPARE(rig->prompter.shown[0].detail,
                 QtSerialLink::noSuchDeviceReason(device, QtSerialLink::presentDevices()) +
                     " Config \u2192 Virtual radio lets you try the editor without a radio.");
        rig->closeWindow();  // before the ports it was made from
    }
};

TAV_TEST(TestFrmGroups);
#include "tst_frmgroups.moc"
