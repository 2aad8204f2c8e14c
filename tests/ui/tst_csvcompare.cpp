// The File menu's channel CSV export and import, and the Radio menu's Compare
// with Radio against the virtual radio.

#include <QPlainTextEdit>

#include "TestMain.h"
#include "UiFixture.h"
#include "files/ChannelCsv.h"
#include "model/LabelText.h"
#include "model/MGlobals.h"
#include "ui/RadioCommands.h"
#include "ui/frmCompare.h"

using namespace tav;
using namespace tav::test;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) qFatal("cannot write");
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool sameImage(const AppState& a, const AppState& b) {
    return a.EEImage == b.EEImage && a.LabelImage == b.LabelImage && a.PowerMask == b.PowerMask;
}

// Channel `ch` (0-based) of group `g` (0-based) receives on `mhz` in `image`.
void setRxFreq(uint8_t* image, int g, int ch, const QString& mhz) {
    const int at = (g + 1) * kPageSize + 16 + ch * 8;
    if (!FreqTextToBytes(mhz, image[at], image[at + 1])) qFatal("bad frequency");
}

}  // namespace

class TestCsvCompare : public QObject {
    Q_OBJECT

private slots:
    void exportImportRoundTripThroughTheMenu() {
        UiRig ui;
        frmGroups& w = ui.open();
        ui.state.GlobalsWindowOpen = true;
        int redisplays = 0;
        w.hooks.redisplayGlobals = [&] { ++redisplays; };
        const QString csv = ui.home.path() + QStringLiteral("/channels.csv");
        ui.setCell(1, 0, QStringLiteral("155.02500"));  // typed, not yet stored
        ui.dialogAnswers = {csv};
        w.mnuExportCsv->trigger();
        QCOMPARE(ui.dialogsShown.last().first, true);
        QVERIFY(ExportChannelCsv(ui.state).contains("\r\n1,1,155.02500,"));
        QCOMPARE(readFile(csv), ExportChannelCsv(ui.state));
        QVERIFY(ui.prompter.shown.isEmpty());

        // Back in unchanged: the very same bytes.
        const AppState exported = ui.state;
        ui.dialogAnswers = {csv};
        w.mnuImportCsv->trigger();
        QCOMPARE(ui.dialogsShown.last(), qMakePair(false, csv));  // the last CSV offered again
        QVERIFY(sameImage(ui.state, exported));
        QCOMPARE(ui.prompter.texts(),
                 QStringList{QStringLiteral("210 channel rows applied, 0 fields changed.")});

        // A change to the shown group shows at once.
        writeFile(csv, "Group,Channel,Rx Freq\r\n1,2,155.13000\r\n");
        ui.dialogAnswers = {csv};
        w.mnuImportCsv->trigger();
        QCOMPARE(ui.prompter.shown.last().text,
                 QStringLiteral("1 channel rows applied, 1 fields changed."));
        QCOMPARE(ui.prompter.shown.last().title, QStringLiteral("Import Channels"));
        QCOMPARE(ui.cell(1, 1), QStringLiteral("155.13000"));
        QCOMPARE(redisplays, 2);
    }

    void badCsvIsRefusedWithEveryLineAndTheImageKept() {
        UiRig ui;
        frmGroups& w = ui.open();
        const QString csv = ui.home.path() + QStringLiteral("/bad.csv");
        writeFile(csv,
                  "Group,Channel,Rx Freq\r\n1,1,155.13000\r\n1,2,abc\r\n1,3,155.1\r\n"
                  "16,1,155.0\r\n");
        ui.setCell(1, 0, QStringLiteral("155.02500"));
        w.StoreCurrentGroup();
        const AppState before = ui.state;
        ui.dialogAnswers = {csv};
        w.mnuImportCsv->trigger();
        QVERIFY(sameImage(ui.state, before));
        QCOMPARE(ui.cell(1, 0), QStringLiteral("155.02500"));
        QCOMPARE(ui.prompter.texts(),
                 QStringList{"The CSV file was not imported; nothing was changed."});
        const ShownBox& box = ui.prompter.shown.first();
        QCOMPARE(box.title, QStringLiteral("Import Channels"));
        QCOMPARE(box.icon, MsgIcon::Exclamation);
        const QStringList lines = box.detail.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].startsWith("line 3: ") && lines[1].startsWith("line 5: "),
                 qPrintable(box.detail));
    }

    void exportFailureIsReported() {
        UiRig ui;
        frmGroups& w = ui.open();
        ui.dialogAnswers = {ui.home.path() + QStringLiteral("/no/such/folder/x.csv")};
        w.mnuExportCsv->trigger();
        QCOMPARE(ui.prompter.texts(),
                 QStringList{QStringLiteral("The channels could not be exported.")});
        QCOMPARE(ui.prompter.shown.first().title, QStringLiteral("Export Channels"));
    }

    void compareShowsExactlyWhatDiffers_data() {
        QTest::addColumn<int>("policy");
        QTest::addColumn<bool>("change");
        QTest::addColumn<QStringList>("expected");
        const QString freq = QStringLiteral("group 3 channel 5 Rx Freq: 155.12000 -> 155.13000");
        const QString label =
            QStringLiteral("group 3 channel 5 Label: \"HELLO   \" -> \"RADIO   \"");
        QTest::newRow("equal") << 1 << false
                               << QStringList{"The radio holds what the editor shows."};
        QTest::newRow("labels never read") << 1 << true << QStringList{freq};
        QTest::newRow("labels read") << 0 << true << QStringList{freq, label};
    }
    void compareShowsExactlyWhatDiffers() {
        QFETCH(int, policy);
        QFETCH(bool, change);
        QFETCH(QStringList, expected);
        RadioUiRig ui;
        frmGroups& w = ui.openOnRadio(policy);
        ui.selectGroup(2);
        ui.setCell(1, 4, QStringLiteral("155.12000"));
        ui.setCell(5, 4, QStringLiteral("HELLO"));
        w.StoreCurrentGroup();
        const AppState stored = ui.state;
        // The radio holds the editor's image, but for the changes.
        std::copy_n(stored.EEImage.begin(), kEEPromSize, ui.radio.eeprom().begin());
        AppState radioSide = stored;
        if (change) {
            setRxFreq(ui.radio.eeprom().data(), 2, 4, QStringLiteral("155.13000"));
            StoreLabelText(radioSide, 2, 4, QStringLiteral("RADIO"));
        }
        ui.radio.labels() = sim::labelMemoryFrom(radioSide.LabelImage);
        w.mnuCompare->trigger();
        QVERIFY(sameImage(ui.state, stored));
        frmCompare* window = w.radio().compareWindow();
        QVERIFY(window && window->isVisible() && !window->isModal());
        QCOMPARE(window->txtDifferences->toPlainText().split(QLatin1Char('\n')), expected);
        QVERIFY(window->txtDifferences->isReadOnly());
        QVERIFY(w.radio().backups().list().isEmpty());
    }

    void compareFollowsTheTransferGuard() {
        RadioUiRig ui;
        frmGroups& w = ui.openOnRadio(1);
        const AppState before = ui.state;
        ui.radio.setFaults(faults(QStringLiteral("drop-reply=eeprom:600")));
        bool guarded = false;
        ui.prompter.onShow = [&](const QString&) {
            guarded = w.transferRunning() && !w.mnuCompare->isEnabled() &&
                      !w.mnuImportCsv->isEnabled() && !w.mnuRead->isEnabled();
        };
        w.mnuCompare->trigger();
        QCOMPARE(ui.prompter.texts(), QStringList{QStringLiteral("Error reading radio")});
        QVERIFY(guarded);
        QVERIFY(w.mnuCompare->isEnabled() && w.mnuExportCsv->isEnabled());
        QVERIFY(!w.radio().compareWindow());
        QVERIFY(sameImage(ui.state, before));
    }
};

TAV_TEST(TestCsvCompare);
#include "tst_csvcompare.moc"
