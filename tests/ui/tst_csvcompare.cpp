// The File menu's channel CSV export and import, and the Radio menu's Compare
// with Radio against the virtual radio. The CSV and comparison rules are
// tested with the core; here the window's use of them.

#include <sys/stat.h>

#include "TestMain.h"
#include "UiFixture.h"
#include "files/ChannelCsv.h"
#include "model/LabelText.h"
#include "model/MGlobals.h"
#include "ui/frmCompare.h"

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
};

TAV_TEST(TestCsvCompare);
#include "tst_csvcompare.moc"
