// The main window: group switching, grid editing and its keys, undo, copy
// and paste, the offset entry, closing, the command-line file and the ports.

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>

#include "TestMain.h"
#include "UiFixture.h"
#include "model/MGlobals.h"
#include "ui/GroupCodecs.h"

using namespace tav;
using namespace tav::test;

namespace {

// Codecs that log what the window asks of them and pass it on to the real ones.
class LoggingCodecs : public GroupCodecs {
public:
    LoggingCodecs(std::unique_ptr<GroupCodecs> real, QStringList& log)
        : real_(std::move(real)), log_(log) {}
    void WriteDefaults(int16_t g) override { real_->WriteDefaults(g); }
    void Read_Group(int16_t g) override {
        log_ << QStringLiteral("read %1").arg(g);
        real_->Read_Group(g);
    }
    void Write_Group(int16_t g) override {
        log_ << QStringLiteral("write %1").arg(g);
        real_->Write_Group(g);
    }
    void Read_Labels_Only(int16_t g) override { real_->Read_Labels_Only(g); }

private:
    std::unique_ptr<GroupCodecs> real_;
    QStringList& log_;
};

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
        uint8_t b1 = 0, b2 = 0;
        QVERIFY(FreqTextToBytes(QStringLiteral("155.02500"), b1, b2));
        QCOMPARE(rig->state.EEImage[128 + 16], b1);
        QCOMPARE(rig->state.EEImage[128 + 17], b2);
        QCOMPARE(int(rig->state.EEImage[128 + 4] & 0x0F), 0);
        QCOMPARE(int(rig->state.EEImage[128 + 7]), 0xAB);
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
        QTest::newRow("kHz scaled down") << 1 << "155025" << QStringLiteral("155.02500") << 0;
        QTest::newRow("off the raster") << 1 << "155.003125" << QStringLiteral("162.40000") << 1;
        QTest::newRow("zero left as typed") << 1 << "0" << QStringLiteral("0") << 0;
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

    void offsetEntry_data() {
        QTest::addColumn<QString>("offset");
        QTest::addColumn<QString>("tx");
        QTest::addColumn<int>("beeps");
        QTest::newRow("minus 2") << "-2" << QStringLiteral("153.00000") << 0;
        QTest::newRow("plus 30 out of band") << "30" << QStringLiteral("none") << 1;
        QTest::newRow("plus 5 point 6") << "5.6" << QStringLiteral("160.60000") << 0;
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
        QCOMPARE(rig->prompter.texts(),
                 QStringList{QStringLiteral("Enter the frequency offset, eg: -2, 7")});
        QCOMPARE(rig->prompter.shown.first().title, QString());
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
        rig->setCell(1, 2, QStringLiteral("151.02500"));
        rig->setCell(2, 2, QStringLiteral("D023-"));
        rig->setCell(3, 2, QStringLiteral("156.00000"));
        rig->setCell(4, 2, QStringLiteral("067.0"));
        rig->setCell(5, 2, QString());
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
        QCOMPARE(rig->prompter.texts(), QStringList(2, QStringLiteral("Save before exit?")));
        const ShownBox& box = rig->prompter.shown.first();
        QCOMPARE(box.buttons, MsgButtons::YesNoCancel);
        QCOMPARE(box.icon, MsgIcon::Question);
        QCOMPARE(box.title, QString());
        QCOMPARE(rig->dialogsShown.size(), 1);
        QVERIFY(rig->dialogsShown.first().first);
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
        uint8_t b1 = 0, b2 = 0;
        QVERIFY(FreqTextToBytes(QStringLiteral("151.62500"), b1, b2));
        file[128 + 16] = char(b1);
        file[128 + 17] = char(b2);
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

    void idAndGroupNumberRefuseWrongKeys() {
        frmGroups& w = rig->open();
        w.txtID->clear();
        QTest::keyClicks(w.txtID, QStringLiteral("1a-G9"));
        QCOMPARE(w.txtID->text(), QStringLiteral("1a9"));
        QCOMPARE(rig->clock.beeps, 2);
        QLineEdit* edit = w.cboCurrentGroup->lineEdit();
        edit->selectAll();
        QTest::keyClick(edit, '1');
        QTest::keyClick(edit, '6');
        QCOMPARE(rig->clock.beeps, 3);
        QCOMPARE(w.cboCurrentGroup->currentText(), QStringLiteral("1"));
        QCOMPARE(w.intCurrentGroup, int16_t(0));
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
        QTest::newRow("nothing stored, no device") << "" << false << 0;
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
        QCOMPARE(rig->w->mnuCommPort[1]->text(), QStringLiteral("Use Comm Port 1 (/dev/ttyS0)"));
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
