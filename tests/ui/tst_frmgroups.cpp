// The main window: group switching, grid editing and its keys, undo, copy
// and paste, the offset entry, closing, the command-line file and the ports.

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QMenu>

#include "TestMain.h"
#include "UiFixture.h"
#include "app/QtSerialLink.h"
#include "model/MGlobals.h"
#include "ui/GridText.h"
#include "ui/GroupCodecs.h"
#include "ui/PortMaker.h"

using namespace tav;
using namespace tav::test;

namespace {

// Codecs that log the groups the window reads and writes, then run the real ones.
class LoggingCodecs : public GroupCodecs {
public:
    LoggingCodecs(std::unique_ptr<GroupCodecs> real, QStringList& log)
        : real_(std::move(real)), log_(log) {}
    void WriteDefaults(int16_t g) override { real_->WriteDefaults(g); }
    void Read_Group(int16_t g) override {
        log_ << QStringLiteral("read %1").arg(g), real_->Read_Group(g);
    }
    void Write_Group(int16_t g) override {
        log_ << QStringLiteral("write %1").arg(g), real_->Write_Group(g);
    }
    void Read_Labels_Only(int16_t g) override { real_->Read_Labels_Only(g); }

private:
    std::unique_ptr<GroupCodecs> real_;
    QStringList& log_;
};

// The two frequency bytes of a text.
QList<int> freqBytes(const QString& text) {
    uint8_t b1 = 0, b2 = 0;
    if (!FreqTextToBytes(text, b1, b2)) qFatal("bad frequency");
    return {b1, b2};
}

const QString kNoRecord = QStringLiteral("No record has been selected to the clipboard");

}  // namespace

class TestFrmGroups : public QObject {
    Q_OBJECT
    std::unique_ptr<UiRig> rig;

private slots:
    void init() { rig = std::make_unique<UiRig>(); }
    void cleanup() {
        if (rig->w) {
            rig->prompter.answers = {MsgResult::No};
            rig->w->close();
        }
        rig.reset();
    }

    void switchingStoresTheGroupLeftAndShowsTheNewOne() {
        QStringList log;
        EditorServices s = rig->services();
        s.groupCodecs = [&log](AppState& st, GroupControls& c, ChannelGrid& g) {
            return std::make_unique<LoggingCodecs>(makeGroupCodecs(st, c, g), log);
        };
        rig->w = std::make_unique<frmGroups>(std::move(s));
        frmGroups& w = *rig->w;
        // The window's own selection at start-up stores nothing.
        QCOMPARE(log, QStringList{QStringLiteral("read 0")});
        QCOMPARE(w.intCurrentGroup, int16_t(0));
        QVERIFY(!w.ISINITIALIZE);

        rig->setCell(1, 0, QStringLiteral("155.02500"));
        rig->setCell(5, 2, QStringLiteral("HELLO"));
        w.txtID->setText(QStringLiteral("12AB"));
        log.clear();
        rig->selectGroup(3);
        QCOMPARE(log, (QStringList{QStringLiteral("write 0"), QStringLiteral("read 3")}));
        QCOMPARE(w.intCurrentGroup, int16_t(3));
        // Group 1 went into the image: receive frequency 155.025 of channel 1.
        const auto& ee = rig->state.EEImage;
        QCOMPARE((QList<int>{ee[128 + 16], ee[128 + 17]}), freqBytes("155.02500"));
        QCOMPARE(int(ee[128 + 7]), 0xAB);
        // Group 4 shows its defaults.
        QCOMPARE(rig->cell(1, 0), QStringLiteral("162.40000"));
        QCOMPARE(w.txtGroupLabel->text(), QStringLiteral("GROUP 4 "));

        rig->selectGroup(0);
        QCOMPARE(rig->cell(1, 0), QStringLiteral("155.02500"));
        QCOMPARE(rig->cell(5, 2), QStringLiteral("HELLO   "));
        QCOMPARE(w.txtID->text(), QStringLiteral("00012AB"));
    }

    void typedCells_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("beeps");
        // The rule's table is the core's: here only that typing reaches it.
        QTest::newRow("short entry 15.5 is 155") << 3 << "15.5" << QStringLiteral("155.00000") << 0;
        QTest::newRow("off the raster") << 1 << "155.003125" << QStringLiteral("162.40000") << 1;
        QTest::newRow("letter refused at once") << 1 << "15x" << QStringLiteral("162.40000") << 1;
        QTest::newRow("channel number fixed") << 0 << "9" << QStringLiteral("1") << 0;
    }
    void typedCells() {
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, beeps);
        frmGroups& w = rig->open();
        w.show();
        rig->goTo(column, 0);
        rig->type(typed);
        QCOMPARE(rig->cell(column, 0), shown);
        QCOMPARE(rig->clock.beeps, beeps);
        QVERIFY(!w.Grid->isEditing());
    }

    void keyCCopiesEveryRowKeySOnlyTheCurrentOne() {
        frmGroups& w = rig->open();
        w.show();
        for (int r = 0; r < 14; ++r) rig->setCell(2, r, QStringLiteral("%1.0").arg(100 + r));
        rig->goTo(4, 6);
        rig->type(QStringLiteral("s"), Qt::Key(0));
        for (int r = 0; r < 14; ++r)
            QCOMPARE(rig->cell(4, r), r == 6 ? QStringLiteral("106.0") : QStringLiteral("000.0"));
        rig->goTo(4, 9);
        rig->type(QStringLiteral("c"), Qt::Key(0));
        for (int r = 0; r < 14; ++r) QCOMPARE(rig->cell(4, r), QStringLiteral("%1.0").arg(100 + r));
        QCOMPARE(w.Grid->currentIndex().row(), 0);
        QCOMPARE(w.Grid->currentIndex().column(), 0);
        // Tx Freq takes Rec Freq the same way.
        rig->goTo(3, 2);
        rig->type(QStringLiteral("S"), Qt::Key(0));
        QCOMPARE(rig->cell(3, 2), QStringLiteral("162.41000"));
        QCOMPARE(rig->cell(3, 3), QStringLiteral("none"));
        rig->goTo(4, 5);
        rig->key(Qt::Key_Home);
        QCOMPARE(w.Grid->currentIndex(), w.Grid->model()->index(5, 1));
    }

    // Space, C and S act on the current cell's own column and value only,
    // whichever cell was edited before.
    void gridKeysActOnTheCurrentCellOnly_data() {
        QTest::addColumn<int>("editedColumn");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<int>("keyColumn");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<bool>("offsetOpen");
        const QStringList same{"151.00000", "D023", "152.00000", "067.0"};
        QTest::newRow("Space on Chan") << 3 << "156" << 0 << " " << same << false;
        QTest::newRow("S on Chan") << 3 << "156" << 0 << "s" << same << false;
        QTest::newRow("S on Rec CG") << 3 << "156" << 2 << "s" << same << false;
        QTest::newRow("C on Chan") << 4 << "071.9" << 0 << "c" << same << false;
        QTest::newRow("C on Ch Label") << 4 << "071.9" << 5 << "c" << same << false;
        QTest::newRow("Space on Tx Freq") << 3 << "156" << 3 << " " << same << true;
        QTest::newRow("S on Tx CG")
            << 3 << "156" << 4 << "s" << QStringList{"151.00000", "D023", "152.00000", "D023"}
            << false;
    }
    void gridKeysActOnTheCurrentCellOnly() {
        QFETCH(int, editedColumn);
        QFETCH(QString, edit);
        QFETCH(int, keyColumn);
        QFETCH(QString, key);
        frmGroups& w = rig->open();
        w.show();
        const QStringList values{"151.00000", "D023", "152.00000", "067.0"};
        for (int c = 1; c <= 4; ++c) rig->setCell(c, 4, values[c - 1]);
        rig->goTo(editedColumn, 0);
        rig->type(edit);
        rig->goTo(keyColumn, 4);
        rig->type(key, Qt::Key(0));
        QStringList row;
        for (int c = 1; c <= 4; ++c) row << rig->cell(c, 4);
        QTEST(row, "row");
        QTEST(w.frmOffset->isVisible(), "offsetOpen");
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
        QFETCH(bool, doubleClick);
        QFETCH(QString, next);
        frmGroups& w = rig->open();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        rig->goTo(2, 3);
        const auto centre = [&w](int column, int row) {
            return w.Grid->visualRect(w.Grid->model()->index(row, column)).center();
        };
        if (doubleClick)
            QTest::mouseDClick(w.Grid->viewport(), Qt::LeftButton, {}, centre(2, 3));
        else
            w.mnuAll->trigger();
        QCOMPARE(w.Grid->selectionModel()->selectedIndexes().size(), 14 * 6);
        if (next == "click")
            QTest::mouseClick(w.Grid->viewport(), Qt::LeftButton, {}, centre(1, 5));
        else if (next == "typing")
            rig->type(QStringLiteral("X"), Qt::Key(0));
        else
            QTest::mouseClick(w.chkScan[4], Qt::LeftButton);
        QVERIFY(w.Grid->selectionModel()->selectedIndexes().size() <= 1);
        QVERIFY(!w.Grid->isEditing() || next == "typing");
    }

    void offsetEntry_data() {
        QTest::addColumn<QString>("offset");
        QTest::addColumn<QString>("tx");
        QTest::addColumn<int>("beeps");
        QTest::newRow("minus 2") << "-2" << QStringLiteral("153.00000") << 0;
        QTest::newRow("plus 30 out of band") << "30" << QStringLiteral("none") << 1;
    }
    void offsetEntry() {
        QFETCH(QString, offset);
        QFETCH(QString, tx);
        QFETCH(int, beeps);
        frmGroups& w = rig->open();
        w.show();
        rig->setCell(1, 7, QStringLiteral("155.00000"));
        rig->goTo(3, 7);
        rig->type(QStringLiteral(" "), Qt::Key(0));  // Space while editing Tx Freq
        QVERIFY(w.frmOffset->isVisible() && !w.fraANI->isVisible());
        rig->goTo(1, 2);  // the cursor wandering off does not move the result
        for (const QChar ch : offset) QTest::keyClick(w.txtOffset, ch.toLatin1());
        QTest::keyClick(w.txtOffset, Qt::Key_Return);
        QCOMPARE(rig->cell(3, 7), tx);
        QCOMPARE(rig->clock.beeps, beeps);
        QVERIFY(!w.frmOffset->isVisible() && w.fraANI->isVisible());
    }

    void offsetBoxKeys() {
        frmGroups& w = rig->open();
        w.show();
        rig->goTo(3, 0);
        rig->type(QStringLiteral(" "), Qt::Key(0));
        QTest::keyClicks(w.txtOffset, QStringLiteral("-."));
        QCOMPARE(w.txtOffset->text(), QStringLiteral("-."));
        w.txtOffset->clear();
        QTest::keyClick(w.txtOffset, 'q');
        QCOMPARE(rig->clock.beeps, 1);
        QCOMPARE(w.txtOffset->text(), QString());
        QTest::keyClick(w.txtOffset, '7');
        QTest::keyClick(w.txtOffset, Qt::Key_F1);
        QCOMPARE(rig->prompter.shown.size(), 1);
        QCOMPARE(boxLine(rig->prompter.shown.first()),
                 "Enter the frequency offset, eg: -2, 7 |  | Ok | None");
    }

    void undoRestoresTheRecordedCellButNotAfterASwitch() {
        frmGroups& w = rig->open();
        w.show();
        rig->goTo(2, 3);
        w.UndoArmed = true;  // as a click in the grid does
        rig->type(QStringLiteral("D023"));
        QCOMPARE(rig->cell(2, 3), QStringLiteral("D023"));
        w.Undo();
        QCOMPARE(rig->cell(2, 3), QStringLiteral("000.0"));

        rig->goTo(5, 1);
        w.UndoArmed = true;
        rig->type(QStringLiteral("X"));
        rig->selectGroup(1);
        rig->selectGroup(0);
        const QString stored = rig->cell(5, 1);
        QCOMPARE(w.UndoCol, -1);
        w.Undo();
        QCOMPARE(rig->cell(5, 1), stored);
    }

    void copyARowAndPasteItElsewhere() {
        frmGroups& w = rig->open();
        const QStringList cells{"151.02500", "D023-", "156.00000", "067.0", ""};
        for (int c = 1; c < 6; ++c) rig->setCell(c, 2, cells[c - 1]);
        w.chkScan[2]->setChecked(true);
        w.chkNarr[2]->setChecked(true);
        w.chkLoPower[2]->setChecked(false);
        rig->goTo(3, 2);
        w.mnuRow->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("3\t151.02500\tD023-\t156.00000\t067.0\t\t1\t1\t0\r"));
        QVERIFY(w.mnuPaste->isEnabled());
        rig->goTo(1, 10);
        w.mnuPaste->trigger();
        QCOMPARE(rig->cell(0, 10), QStringLiteral("11"));
        for (int c = 1; c < 6; ++c) QCOMPARE(rig->cell(c, 10), rig->cell(c, 2));
        QVERIFY(w.chkScan[10]->isChecked() && w.chkNarr[10]->isChecked());
        QVERIFY(!w.chkLoPower[10]->isChecked());
        QVERIFY(rig->prompter.shown.isEmpty());
    }

    void copyAllAndPasteAll() {
        frmGroups& w = rig->open();
        w.mnuAll->trigger();
        rig->selectGroup(5);
        for (int r = 0; r < 14; ++r) rig->setCell(1, r, QStringLiteral("150.00000"));
        w.mnuPaste->trigger();
        QCOMPARE(rig->cell(1, 13), QStringLiteral("162.46500"));
        QCOMPARE(w.Grid->currentIndex().row(), 0);
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
        frmGroups& w = rig->open();
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        rig->goTo(1, 2);
        w.mnuRow->trigger();  // a row on the clipboard, Paste enabled
        QWidget* target = w.findChild<QWidget*>(field);
        if (field == "Ch Label") {
            rig->goTo(grid::ChLabel, 6);
            rig->type(QStringLiteral("Q"), Qt::Key(0));
            target = w.Grid->activeEditor();
        }
        QVERIFY(target);
        target->setFocus();
        QSignalSpy ran(w.findChild<QAction*>(command), &QAction::triggered);
        const auto text = [&] {
            if (auto* line = qobject_cast<QLineEdit*>(target)) return line->text();
            return qobject_cast<QComboBox*>(target)->currentText();
        };
        const QString before = field == "Ch Label" ? QString() : text();
        QTest::keyClick(target, Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(ran.size(), 1);
        if (field != "Ch Label") QCOMPARE(text(), before);
        w.Grid->finishEdit();
        QVERIFY(!rig->cell(grid::ChLabel, 6).contains(QLatin1Char('\t')));
    }

    void pasteRefusesForeignText_data() {
        QTest::addColumn<bool>("sameLength");
        QTest::newRow("other length") << false;
        QTest::newRow("same length, wrong shape") << true;
    }
    void pasteRefusesForeignText() {
        QFETCH(bool, sameLength);
        frmGroups& w = rig->open();
        rig->goTo(1, 0);
        w.mnuRow->trigger();
        const int length = w.CopiedLength;
        QGuiApplication::clipboard()->setText(sameLength ? QString(length, QLatin1Char('x'))
                                                         : QStringLiteral("hello"));
        rig->goTo(1, 4);
        const QString before = rig->cell(1, 4);
        w.Paste();
        QCOMPARE(rig->prompter.texts(), QStringList{kNoRecord});
        QCOMPARE(rig->cell(1, 4), before);
        QVERIFY(!w.pasteAvailable());
    }

    void closingAsksAndAFailedSaveKeepsTheWindowOpen() {
        frmGroups& w = rig->open();
        w.show();
        rig->prompter.answers = {MsgResult::Cancel, MsgResult::Yes};
        QVERIFY(!w.close());  // Cancel
        QVERIFY(!w.close());  // Yes, then the file dialog was cancelled
        QCOMPARE(rig->prompter.shown.size(), 2);
        QCOMPARE(boxLine(rig->prompter.shown.last()),
                 "Save before exit? |  | YesNoCancel | Question");
        QCOMPARE(rig->dialogsShown, (QList<QPair<bool, QString>>{{true, QString()}}));
        rig->dialogAnswers = {rig->home.path() + QStringLiteral("/no/such/folder/x.tav")};
        rig->prompter.answers = {MsgResult::Yes, MsgResult::Ok};
        QVERIFY(!w.close());  // the save failed
        QCOMPARE(rig->prompter.shown.last().title, QStringLiteral("File Error"));
        const QString good = rig->home.path() + QStringLiteral("/saved.tav");
        rig->dialogAnswers = {good};
        rig->prompter.answers = {MsgResult::Yes};
        QVERIFY(w.close());
        QCOMPARE(QFileInfo(good).size(), qint64(4127));
        rig->w.reset();
    }

    void commandLineFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("opened");
        QTest::newRow("mixed-case .tav opened") << "Bench Radio.TaV" << true;
        QTest::newRow("other names only remembered") << "radio.frq" << false;
    }
    void commandLineFile() {
        QFETCH(QString, name);
        QFETCH(bool, opened);
        QByteArray file(4127, '\0');
        const QList<int> freq = freqBytes("151.62500");
        file[128 + 16] = char(freq[0]);
        file[128 + 17] = char(freq[1]);
        const QString path = rig->home.path() + QLatin1Char('/') + name;
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(file) == file.size());
        f.close();
        frmGroups& w = rig->open({path});
        QCOMPARE(rig->cell(1, 0),
                 opened ? QStringLiteral("151.62500") : QStringLiteral("162.40000"));
        QCOMPARE(w.windowTitle(),
                 opened ? QStringLiteral("TAV File - ") + path + QStringLiteral("   TAV Editor")
                        : QStringLiteral("TAVEDWIN  -  TAV Editor"));
    }

    void idAndGroupNumberRefuseWrongKeys_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<int>("group");
        QTest::newRow("ID: G and sign") << "txtID"
                                        << "1a-G9" << QStringLiteral("1A9") << 2 << 0;
        QTest::newRow("ID: full-width digit")
            << "txtID" << QStringLiteral("7\uFF13") << QStringLiteral("7") << 1 << 0;
        QTest::newRow("group 20") << "cboCurrentGroup"
                                  << "20" << QStringLiteral("1") << 1 << 0;
        QTest::newRow("group 12") << "cboCurrentGroup"
                                  << "12" << QStringLiteral("12") << 0 << 0;
        QTest::newRow("group 3 chosen, then 37") << "cboCurrentGroup"
                                                 << "3\r7" << QStringLiteral("3") << 1 << 2;
    }
    // Keys go to the widget that has the focus: for the group selector that
    // is the combo box itself, which hands them on to its line edit.
    void idAndGroupNumberRefuseWrongKeys() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        frmGroups& w = rig->open();
        auto* target = w.findChild<QWidget*>(field);
        w.txtID->clear();
        w.cboCurrentGroup->lineEdit()->selectAll();
        typeKeys(target, typed);
        QTEST(field == "txtID" ? w.txtID->text() : w.cboCurrentGroup->currentText(), "shown");
        QTEST(rig->clock.beeps, "beeps");
        QTEST(int(w.intCurrentGroup), "group");
    }

    void perChannelTogglesFollowAndStoreTheSetting() {
        frmGroups& w = rig->open();
        QVERIFY(rig->state.PerChanBandOn && w.chkNarr[0]->isEnabled());
        w.mnuPerChanBand->trigger();
        QVERIFY(!rig->state.PerChanBandOn && !w.chkNarr[13]->isEnabled());
        QCOMPARE(rig->settings->get(QStringLiteral("Features"), QStringLiteral("Band")),
                 QStringLiteral("False"));
        w.mnuPerChanPwr->trigger();
        QVERIFY(!w.chkLoPower[0]->isEnabled());
        QCOMPARE(rig->settings->get(QStringLiteral("Features"), QStringLiteral("Power")),
                 QStringLiteral("False"));
        QVERIFY(!w.mnuChangedOnly->isChecked());
        w.mnuChangedOnly->trigger();
        QVERIFY(w.mnuChangedOnly->isChecked());
        QCOMPARE(rig->settings->get(QStringLiteral("Features"), QStringLiteral("ChangedOnly")),
                 QStringLiteral("True"));
    }

    void portChoice_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("devicePresent");
        QTest::addColumn<int>("port");
        // Port 1 even with no device: a simulated radio chosen unasked would
        // read made-up data and report writes that reached no radio.
        QTest::newRow("nothing stored, no device") << "" << false << 1;
        QTest::newRow("nothing stored, a device") << "" << true << 1;
        QTest::newRow("port 3 stored") << "3" << false << 3;
        QTest::newRow("virtual stored") << "V" << true << 0;
    }
    void portChoice() {
        QFETCH(QString, stored);
        QFETCH(bool, devicePresent);
        QFETCH(int, port);
        if (stored == QLatin1String("V"))
            rig->settings->saveFlag(QStringLiteral("Comm"), QStringLiteral("Virtual"), true);
        else if (!stored.isEmpty())
            rig->settings->save(QStringLiteral("Comm"), QStringLiteral("Port"), stored);
        QList<int> made;
        EditorServices s = rig->services();
        s.deviceExists = [devicePresent](const QString&) { return devicePresent; };
        s.openPort = [&made](int p) {
            made << p;
            return std::unique_ptr<SerialLink>();
        };
        rig->w = std::make_unique<frmGroups>(std::move(s));
        QCOMPARE(rig->w->CommPort, port);
        QCOMPARE(made, QList<int>{port});
        QVERIFY(rig->w->mnuCommPort[port]->isChecked());
        QCOMPARE(rig->w->windowTitle(),
                 port == 0 ? QStringLiteral("TAVEDWIN  -  TAV Editor \u2014 Virtual radio")
                           : QStringLiteral("TAVEDWIN  -  TAV Editor"));
        QCOMPARE(rig->w->mnuCommPort[1]->text(),
                 devicePresent ? QStringLiteral("Use Comm Port 1 (/dev/ttyS0)")
                               : QStringLiteral("Use Comm Port 1 (/dev/ttyS0, not present)"));
    }

    // The ports are looked at each time the Config menu opens; the virtual
    // radio, once chosen there, is named in the caption whatever file is open.
    void portsMenuFollowsTheDevicesAndNamesTheVirtualRadio() {
        QStringList present;
        EditorServices s = rig->services();
        s.deviceExists = [&present](const QString& d) { return present.contains(d); };
        rig->w = std::make_unique<frmGroups>(std::move(s));
        frmGroups& w = *rig->w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto* config = w.findChild<QMenu*>(QStringLiteral("mnuConfig"));
        const auto openConfig = [&] {
            QTest::keyClick(&w, Qt::Key_C, Qt::AltModifier);
            QTRY_VERIFY(config->isVisible());
        };
        openConfig();
        QCOMPARE(w.mnuCommPort[3]->text(),
                 QStringLiteral("Use Comm Port 3 (/dev/ttyUSB0, not present)"));
        QTest::keyClick(config, Qt::Key_Escape);
        present << QStringLiteral("/dev/ttyUSB0");  // the adapter is plugged in
        openConfig();
        QCOMPARE(w.mnuCommPort[3]->text(), QStringLiteral("Use Comm Port 3 (/dev/ttyUSB0)"));

        config->setActiveAction(w.mnuCommPort[0]);
        QTest::keyClick(config, Qt::Key_Return);
        QCOMPARE(w.CommPort, 0);
        const QString file = rig->home.path() + QStringLiteral("/bench.tav");
        rig->dialogAnswers = {file};
        w.mnuSaveAs->trigger();
        const QString fileCaption =
            QStringLiteral("TAV File - ") + file + QStringLiteral("   TAV Editor");
        QCOMPARE(w.windowTitle(), fileCaption + QStringLiteral(" \u2014 Virtual radio"));
        w.mnuCommPort[3]->trigger();
        QCOMPARE(w.windowTitle(), fileCaption);
    }

    void missingDeviceSuggestsTheVirtualRadio() {
        const QString device = QStringLiteral("/dev/tav-no-such-port");
        rig->settings->setPortDevice(1, device);
        PortMaker ports(*rig->settings, rig->clock);
        EditorServices s = rig->services();
        s.openPort = [&ports](int p) { return ports.make(p); };
        rig->w = std::make_unique<frmGroups>(std::move(s));
        rig->w->mnuReadGlobal->trigger();
        QVERIFY(!rig->prompter.shown.isEmpty());
        QCOMPARE(rig->prompter.shown[0].text, QStringLiteral("Unable to open Comm Port"));
        QCOMPARE(
            rig->prompter.shown[0].detail,
            QtSerialLink::noSuchDeviceReason(device, QtSerialLink::presentDevices()) +
                QStringLiteral(" Config \u2192 Virtual radio lets you try the editor without a "
                               "radio."));
        rig->prompter.answers = {MsgResult::No};
        rig->w->close();
        rig->w.reset();  // before the ports it was made from
    }

    void printShowsTheGroupFromTheImageThenPrints() {
        frmGroups& w = rig->open();
        rig->setCell(1, 0, QStringLiteral("150.00000"));  // not stored: Print shows the image again
        w.mnuPrint->trigger();
        QCOMPARE(rig->cell(1, 0), QStringLiteral("162.40000"));
        QCOMPARE(rig->printer->printed, 1);
        QVERIFY(rig->prompter.shown.isEmpty());
    }

    void checkBoxesLineUpWithTheirRows() {
        frmGroups& w = rig->open();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        for (int r : {0, 6, 13}) {
            const QRect rowRect = w.Grid->visualRect(w.Grid->model()->index(r, 0));
            const int rowCentre = w.Grid->viewport()->mapTo(&w, rowRect.center()).y();
            for (QCheckBox* box : {w.chkScan[r], w.chkNarr[r], w.chkLoPower[r]}) {
                const int boxCentre = box->mapTo(&w, box->rect().center()).y();
                QVERIFY2(std::abs(boxCentre - rowCentre) <= 1, qPrintable(QString::number(r)));
            }
        }
    }
};

TAV_TEST(TestFrmGroups);
#include "tst_frmgroups.moc"
