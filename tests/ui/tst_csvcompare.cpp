// The File menu's channel CSV export and import, and the Radio menu's Compare
// with Radio and Write Radio's read-back against the virtual radio. The CSV and comparison rules
// are tested with the core; here the window's use of them.

#include <sys/stat.h>

#include "TestMain.h"
#include "UiFixture.h"
#include "files/ChannelCsv.h"
#include "model/LabelText.h"
#include "model/MGlobals.h"
#include "ui/frmCompare.h"
#include "ui/frmProc.h"

using namespace tav;
using namespace tav::test;

class TestCsvCompare : public QObject {
    Q_OBJECT

private slots:
    // Export takes the shown group's edits; an unchanged file imports as the
    // very same image; a change to the shown group shows at once; a bad file
    // changes nothing and says why, line by line.
    void exportAndImportThroughTheMenu() {
        UiRig ui;
        frmGroups& w = ui.open();
        ui.state.GlobalsWindowOpen = true;
        int redisplays = 0;
        w.hooks.redisplayGlobals = [&] { ++redisplays; };
        const QString csv = ui.home.path() + "/channels.csv";
        ui.setCell(1, 0, "155.02500");
        // A pipe stands for any path that is not a regular file: it stays as it is.
        const QString pipe = ui.home.path() + "/pipe.csv";
        QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
        ui.dialogAnswers = {csv, csv, csv, csv, ui.home.path() + "/no/such/folder/x.csv", pipe};
        w.mnuExportCsv->trigger();
        QVERIFY(readFile(csv).contains("\r\n1,1,155.02500,"));
        QCOMPARE(readFile(csv), ExportChannelCsv(ui.state));
        const AppState exported = ui.state;
        w.mnuImportCsv->trigger();
        QCOMPARE(ui.dialogsShown.mid(0, 2),
                 (QList<QPair<bool, QString>>{{true, ""}, {false, csv}}));
        QVERIFY(ui.state.EEImage == exported.EEImage && ui.state.LabelImage == exported.LabelImage);
        writeFile(csv, "Group,Channel,Rx Freq\r\n1,2,155.13000\r\n");
        w.mnuImportCsv->trigger();
        QCOMPARE(ui.cell(1, 1), "155.13000");
        QCOMPARE(redisplays, 2);
        const AppState before = ui.state;
        writeFile(csv, "Group,Channel,Rx Freq\r\n1,1,155.13000\r\n1,2,abc\r\n16,1,155.0\r\n");
        w.mnuImportCsv->trigger();
        w.mnuExportCsv->trigger();
        w.mnuExportCsv->trigger();
        QVERIFY(QFileInfo(pipe).isFile() == false && QFileInfo(pipe).exists());
        QVERIFY(ui.state.EEImage == before.EEImage && ui.state.LabelImage == before.LabelImage);
        QCOMPARE(ui.cell(1, 0), "155.02500");
        QCOMPARE(
            boxLines(ui.prompter.shown),
            (QStringList{
                "210 channel rows applied, 0 fields changed. | Import Channels | Ok | Information",
                "1 channel rows applied, 1 fields changed. | Import Channels | Ok | Information",
                "The CSV file was not imported; nothing was changed. | Import Channels | Ok | "
                "Exclamation",
                "The channels could not be exported. | Export Channels | Ok | Exclamation",
                "The channels could not be exported. | Export Channels | Ok | Exclamation"}));
        QCOMPARE(ui.prompter.shown[2].detail.count(u'\n'), 1);  // one line per bad row
        QCOMPARE(ui.prompter.shown[4].detail, pipe + ": It is a folder or a device, not a file.");
    }

    // The comparison is of what the editor shows, edits not yet stored
    // included; labels only where the label policy lets the read reach them.
    void compareShowsWhatDiffers_data() {
        QTest::addColumn<int>("policy");
        QTest::addColumn<QStringList>("expected");
        const QString freq = QStringLiteral("group 3 channel 5 Rx Freq: 155.12000 -> 155.13000");
        const QString label =
            QStringLiteral("group 3 channel 5 Label: \"HELLO   \" -> \"RADIO   \"");
        QTest::newRow("labels never read") << 1 << QStringList{freq};
        QTest::newRow("labels read") << 0 << QStringList{freq, label};
    }
    void compareShowsWhatDiffers() {
        QFETCH(int, policy);
        RadioUiRig ui;
        frmGroups& w = ui.openOnRadio(policy);
        ui.selectGroup(2);
        ui.setCell(1, 4, QStringLiteral("155.13000"));
        ui.setCell(5, 4, QStringLiteral("RADIO"));
        w.StoreCurrentGroup();
        // The radio holds the editor's image but for the changes.
        std::copy_n(ui.state.EEImage.begin(), kEEPromSize, ui.radio.eeprom().begin());
        ui.radio.labels() = sim::labelMemoryFrom(ui.state.LabelImage);
        ui.setCell(1, 4, QStringLiteral("155.12000"));
        ui.setCell(5, 4, QStringLiteral("HELLO"));
        w.mnuCompare->trigger();
        frmCompare* window = w.radio().compareWindow();
        QVERIFY(window && window->isVisible() && !window->isModal());
        QTEST(window->txtDifferences->toPlainText().split(u'\n'), "expected");
        QVERIFY(window->txtDifferences->isReadOnly());
        QVERIFY(ui.radio.eepromWrites().empty() && w.radio().backups().list().isEmpty());
    }

    // The window names the file, the radio and the time, counts the
    // differences by group, and gives its report to the clipboard and to a file.
    void compareHeaderCountsCopyAndSave_data() {
        QTest::addColumn<bool>("saved");
        QTest::newRow("unsaved image") << false;
        QTest::newRow("saved image") << true;
    }
    void compareHeaderCountsCopyAndSave() {
        QFETCH(bool, saved);
        RadioUiRig ui;
        frmGroups& w = ui.openOnRadio(1);
        const QString image = ui.home.path() + "/image.tav", report = ui.home.path() + "/cmp.txt";
        ui.dialogAnswers = {image};
        if (saved) w.mnuSaveAs->trigger();
        w.StoreCurrentGroup();
        std::copy_n(ui.state.EEImage.begin(), kEEPromSize, ui.radio.eeprom().begin());
        ui.radio.eeprom()[6] ^= 0x08;  // the unit's Priority Rate
        ui.radio.eeprom()[9] ^= 0x01;  // a byte no field decodes
        ui.selectGroup(2);
        ui.setCell(1, 4, QStringLiteral("155.13000"));
        ui.setCell(3, 4, QStringLiteral("155.14000"));
        w.mnuCompare->trigger();
        frmCompare* window = w.radio().compareWindow();
        QVERIFY(window->isVisible() && !window->isModal() && window->isSizeGripEnabled());
        QVERIFY(window->windowType() == Qt::Window &&
                !window->windowFlags().testFlag(Qt::FramelessWindowHint));
        const QString header = QStringLiteral(
                                   "File: %1\nRadio: TAV radio, identification byte "
                                   "0x40, on the virtual radio\nDate: 2026-12-06 07:31:05")
                                   .arg(saved ? image : "(unsaved image)");
        const QString counts = QStringLiteral(
            "Differences: 4\n  unit: 1\n  group 3: 2\n  bytes outside the fields: 1");
        QCOMPARE(window->lblHeader->text(), header);
        QCOMPARE(window->lblCounts->text(), counts);
        const QStringList lines = window->txtDifferences->toPlainText().split(u'\n');
        QCOMPARE(lines.size(), 4);
        QVERIFY(lines[1].startsWith("group 3 channel 5 Rx Freq: ") && lines[3] ==
                                                                          "byte 0x009: "
                                                                          "0x00 -> 0x01");
        ui.dialogAnswers = {report};
        QTest::mouseClick(window->cmdSave, Qt::LeftButton);
        QCOMPARE(QString::fromUtf8(readFile(report)),
                 header + '\n' + counts + "\n\n" + lines.join(u'\n') + '\n');
        QCOMPARE(ui.dialogsShown.last(), (QPair<bool, QString>{true, ""}));
        QTest::mouseClick(window->cmdCopy, Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromUtf8(readFile(report)));
    }

    // Config > Verify After Write (off until checked, kept in the settings):
    // after Write Radio the radio is read back and compared over what the write
    // could change. A word that keeps its value through writes (and echoes as
    // if it took them) shows as a difference; Cancel stops the read-back.
    void verifyAfterWrite_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QString>("differences");  // the comparison window's, when shown
        QTest::newRow("clean")
            << "" << false
            << "Radio verified: it holds this image. | Verify After Write | Ok | "
               "None"
            << "";
        QTest::newRow("stuck word")
            << "stuck=0x90" << false
            << "The radio does not hold this image: 1 difference(s), listed in the Verify After "
               "Write window. | Verify After Write | Ok | Exclamation"
            << "group 1 channel 1 Rx Freq: 155.13000 -> none";
        QTest::newRow("cancelled")
            << "" << true
            << "The read-back was cancelled: the radio was not verified. | Verify After Write | "
               "Ok | Exclamation"
            << "";
    }
    void verifyAfterWrite() {
        QFETCH(QString, fault);
        QFETCH(bool, cancel);
        RadioUiRig ui;
        frmGroups& w = ui.openOnRadio(1);
        QVERIFY(!w.mnuVerifyAfterWrite->isChecked());
        w.mnuVerifyAfterWrite->trigger();
        QVERIFY(ui.settings->flag("Features", "VerifyAfterWrite", false));
        w.mnuRead->trigger();  // the image as the radio holds it: no group left out
        ui.setCell(1, 0, QStringLiteral("155.13000"));
        if (!fault.isEmpty()) ui.radio.setFaults(faults(fault));
        ui.prompter.shown.clear();
        ui.prompter.answers = {MsgResult::Ok, MsgResult::Yes};
        ui.clock.onWait = [&] {
            if (cancel && w.procDialog->lblInfo->text() == "Please Wait - Verifying Radio" &&
                w.procDialog->CancelButton->isEnabled())
                QTest::mouseClick(w.procDialog->CancelButton, Qt::LeftButton);
        };
        w.mnuWriteAll->trigger();
        ui.clock.onWait = nullptr;
        QFETCH(QString, outcome);
        QCOMPARE(boxLines(ui.prompter.shown).mid(2),
                 (QStringList{"All groups written OK. | Write Radio | Ok | None", outcome}));
        frmCompare* window = w.radio().compareWindow();
        QFETCH(QString, differences);
        QCOMPARE(window ? window->txtDifferences->toPlainText() : QString(), differences);
        QVERIFY(!w.procDialog->isVisible());
    }

    // Off, Write Radio puts exactly the write's bytes on the line; on, the
    // same bytes and then the read-back.
    void verifyAfterWriteOffSendsOnlyTheWrite() {
        sim::VirtualRadio::Bytes wire[2];
        for (int on = 0; on < 2; ++on) {
            RadioUiRig ui;
            frmGroups& w = ui.openOnRadio(1);
            if (on) w.mnuVerifyAfterWrite->trigger();
            ui.radio.setRecording(true);
            ui.prompter.answers = {MsgResult::Ok, MsgResult::Yes};
            w.mnuWriteAll->trigger();
            wire[on] = ui.radio.received();
        }
        QVERIFY(wire[1].size() > wire[0].size() + 2000);
        QVERIFY(std::equal(wire[0].begin(), wire[0].end(), wire[1].begin()));
    }
};

TAV_TEST(TestCsvCompare);
#include "tst_csvcompare.moc"
