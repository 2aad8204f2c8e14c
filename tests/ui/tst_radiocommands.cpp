// The Radio menu against the virtual radio on the virtual clock: label
// decisions, confirmations, restore after a failed read, the order of the
// messages, the commands disabled while a transfer runs, the automatic backups
// and the serial trace.

#include <QMainWindow>

#include "TestMain.h"
#include "UiFixture.h"
#include "files/RadioFile.h"
#include "model/LabelText.h"
#include "model/MGlobals.h"
#include "ui/frmProc.h"

using namespace tav;
using namespace tav::test;
using Answers = QList<MsgResult>;

namespace {

const QString kSure = QStringLiteral("Are you sure you want to write to the radio?");
const QString kGlobals = QStringLiteral("Write Global Parameters?");

// Counts the times a widget was shown.
class ShowCounter : public QObject {
public:
    int shows = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Show) ++shows;
        return false;
    }
};

// A label image whose every label differs from the editor's defaults.
std::array<uint8_t, kLabelImageSize> distinctLabels() {
    AppState s;
    for (int g = 0; g < 16; ++g)
        for (int slot = 0; slot < 16; ++slot)
            StoreLabelText(s, g, slot, QStringLiteral("G%1C%2").arg(g + 1).arg(slot + 1));
    return s.LabelImage;
}

// Whether the radio holds the editor's labels of groups first..last (0-based).
bool radioHasLabels(RadioUiRig& ui, int first, int last) {
    std::array<uint8_t, kLabelImageSize> inRadio{};
    sim::labelImageFrom(ui.radio.labels(), inRadio);
    for (int g = first; g <= last; ++g)
        for (int slot = 0; slot < 16; ++slot)
            for (int k = 0; k < 8; ++k)
                if (inRadio[AppState::labelIndex(g, slot, k)] != ui.state.label(g, slot, k))
                    return false;
    return true;
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class TestRadioCommands : public QObject {
    Q_OBJECT
    std::unique_ptr<RadioUiRig> ui;
    ShowCounter dialogShows;

    // The window on the virtual radio with the label policy given.
    frmGroups& open(int policy) {
        frmGroups& w = ui->openOnRadio(policy);
        w.procDialog->installEventFilter(&dialogShows);
        return w;
    }
    QAction* action(const QString& name) { return ui->w->findChild<QAction*>(name); }
    QStringList backups() { return ui->w->radio().backups().list(); }

private slots:
    void init() {
        ui = std::make_unique<RadioUiRig>();
        dialogShows.shows = 0;
    }
    void cleanup() { ui.reset(); }

    void cancelAtLabelQuestionTouchesNothing_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<Answers>("answers");
        QTest::addColumn<QStringList>("texts");
        const QString read = QStringLiteral("Read Labels from Radio");
        const QString write = QStringLiteral("Write Labels to Radio");
        QTest::newRow("read radio") << "mnuRead" << Answers{MsgResult::Cancel} << QStringList{read};
        QTest::newRow("read group")
            << "mnuReadGroup" << Answers{MsgResult::Cancel} << QStringList{read};
        QTest::newRow("write radio")
            << "mnuWriteAll" << Answers{MsgResult::Ok, MsgResult::Yes, MsgResult::Cancel}
            << QStringList{kSure, kGlobals, write};
        QTest::newRow("write group") << "mnuWriteGroup" << Answers{MsgResult::Ok, MsgResult::Cancel}
                                     << QStringList{kSure, write};
        QTest::newRow("compare") << "mnuCompare" << Answers{MsgResult::Cancel} << QStringList{read};
    }
    void cancelAtLabelQuestionTouchesNothing() {
        QFETCH(QString, command);
        QFETCH(Answers, answers);
        QFETCH(QStringList, texts);
        open(2);
        const AppState before = ui->state;
        ui->prompter.answers = answers;
        action(command)->trigger();
        QCOMPARE(ui->prompter.texts(), texts);
        QCOMPARE(boxLine(ui->prompter.shown.last()),
                 texts.last() + " | TAV Editor | YesNoCancel | Question");
        QVERIFY(ui->radio.received().empty());
        QCOMPARE(dialogShows.shows, 0);
        QVERIFY(ui->state.EEImage == before.EEImage && ui->state.LabelImage == before.LabelImage);
        QVERIFY(backups().isEmpty());
    }

    void failedReadRestoresTheImage() {
        frmGroups& w = open(1);
        ui->setCell(1, 0, QStringLiteral("155.02500"));
        w.StoreCurrentGroup();
        const auto before = ui->state.EEImage;
        // The radio's group 1 differs, and the read breaks off in group 4.
        ui->radio.eeprom()[128 + 16] = static_cast<uint8_t>(before[128 + 16] ^ 0xFF);
        ui->radio.setFaults(faults(QStringLiteral("drop-reply=eeprom:600")));
        w.mnuRead->trigger();
        QCOMPARE(ui->prompter.texts(), QStringList{QStringLiteral("Error reading radio")});
        QVERIFY(ui->state.EEImage == before);
        w.displayGroupMemory();
        QCOMPARE(ui->cell(1, 0), QStringLiteral("155.02500"));
        QVERIFY(backups().isEmpty());
    }

    void writeRadioGlobalsQuestion_data() {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("changedOnly");  // "Write Only Changed Data" stored as checked
        QTest::newRow("No: global block left alone") << false << false;
        QTest::newRow("Yes: global window stored and written") << true << false;
        QTest::newRow("Yes, changed only") << true << true;
    }
    void writeRadioGlobalsQuestion() {
        QFETCH(bool, yes);
        QFETCH(bool, changedOnly);
        ui->settings->saveFlag(QStringLiteral("Features"), QStringLiteral("ChangedOnly"),
                               changedOnly);
        frmGroups& w = open(1);
        QCOMPARE(w.mnuChangedOnly->isChecked(), changedOnly);
        ui->state.GlobalsWindowOpen = true;
        int stores = 0;
        w.hooks.storeGlobals = [&] { ++stores, ui->state.EEImage[7] = 0x5A; };
        ui->radio.eeprom()[7] = 0x11;
        ui->setCell(1, 0, QStringLiteral("155.02500"));
        ui->prompter.answers = {MsgResult::Ok, yes ? MsgResult::Yes : MsgResult::No};
        w.mnuWriteAll->trigger();
        QCOMPARE(ui->prompter.texts(),
                 (QStringList{kSure, kGlobals, QStringLiteral("All groups written OK.")}));
        QCOMPARE(ui->prompter.titles().last(), QStringLiteral("Write Radio"));
        QCOMPARE(stores, yes ? 1 : 0);
        QCOMPARE(int(ui->radio.eeprom()[7]), yes ? 0x5A : 0x11);
        bool globalWords = false;
        for (const sim::EEWrite& e : ui->radio.eepromWrites())
            globalWords |= e.address < 36 || (e.address >= 66 && e.address < 128);
        QCOMPARE(globalWords, yes);
        // The shown group went out with the edit.
        QCOMPARE(ui->radio.eeprom()[128 + 16], ui->state.EEImage[128 + 16]);
        QCOMPARE(ui->radio.eeprom()[128 + 17], ui->state.EEImage[128 + 17]);
        // The same write again: changed only, the radio is read and nothing is written.
        const std::size_t writes = ui->radio.eepromWrites().size();
        ui->prompter.answers = {MsgResult::Ok, MsgResult::Yes};
        w.mnuWriteAll->trigger();
        QCOMPARE(ui->prompter.texts().last(), QStringLiteral("All groups written OK."));
        QCOMPARE(ui->radio.eepromWrites().size() == writes, changedOnly);
    }

    void writeGroupSendsLabelsEvenWhenTheGroupFailed() {
        frmGroups& w = open(0);
        ui->selectGroup(14);  // group 15: not configured for channel data
        ui->setCell(5, 0, QStringLiteral("HELLO"));
        ui->prompter.answers = {MsgResult::Ok};
        w.mnuWriteGroup->trigger();
        QCOMPARE(ui->prompter.texts(),
                 (QStringList{kSure, QStringLiteral("Group not configured for channel data."),
                              QStringLiteral("Write Group Failed"),
                              QStringLiteral("Group 15 labels written OK.")}));
        QCOMPARE(ui->prompter.titles().last(), QStringLiteral("Write Labels"));
        QVERIFY(radioHasLabels(*ui, 14, 14));
        QCOMPARE(ShownLabelText(ui->state, 14, 0), QStringLiteral("HELLO   "));
    }

    void labelsComeBeforeGroupsInTheMessages_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<Answers>("answers");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("read") << "mnuRead" << Answers{}
                              << QStringList{"All labels read OK.", "All groups read OK."}
                              << QStringList{"Read Labels", "Read Radio"};
        QTest::newRow("write") << "mnuWriteAll" << Answers{MsgResult::Ok, MsgResult::Yes}
                               << QStringList{kSure, kGlobals, "All labels written OK.",
                                              "All groups written OK."}
                               << QStringList{"", "", "Write Labels", "Write Radio"};
    }
    void labelsComeBeforeGroupsInTheMessages() {
        QFETCH(QString, command);
        QFETCH(Answers, answers);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, titles);
        open(0);
        const bool read = command == QLatin1String("mnuRead");
        if (read) ui->radio.labels() = sim::labelMemoryFrom(distinctLabels());
        ui->prompter.answers = answers;
        action(command)->trigger();
        QCOMPARE(ui->prompter.texts(), texts);
        QCOMPARE(ui->prompter.titles(), titles);
        QVERIFY(radioHasLabels(*ui, 0, kGroupCount - 1));
        if (read) QCOMPARE(ui->cell(5, 0), QStringLiteral("G1C1    "));
    }

    void policyNeverNeverAsks_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<Answers>("answers");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("dialogs");
        QTest::newRow("read radio")
            << "mnuRead" << Answers{} << QStringList{"All groups read OK."} << 1;
        QTest::newRow("read group") << "mnuReadGroup" << Answers{} << QStringList{} << 1;
        QTest::newRow("read globals: no dialog, no message")
            << "mnuReadGlobal" << Answers{} << QStringList{} << 0;
        QTest::newRow("write radio") << "mnuWriteAll" << Answers{MsgResult::Ok, MsgResult::Yes}
                                     << QStringList{kSure, kGlobals, "All groups written OK."} << 1;
        QTest::newRow("write group")
            << "mnuWriteGroup" << Answers{MsgResult::Ok} << QStringList{kSure} << 1;
    }
    void policyNeverNeverAsks() {
        QFETCH(QString, command);
        QFETCH(Answers, answers);
        QFETCH(QStringList, texts);
        QFETCH(int, dialogs);
        frmGroups& w = open(2);
        w.mnuLabelConfig[1]->trigger();
        QCOMPARE(w.LabelPolicy, 1);
        QVERIFY(!w.mnuLabelConfig[0]->isChecked() && !w.mnuLabelConfig[2]->isChecked());
        QCOMPARE(ui->settings->get(QStringLiteral("Features"), QStringLiteral("Label")),
                 QStringLiteral("1"));
        ui->radio.labels() = sim::labelMemoryFrom(distinctLabels());
        const auto radioLabels = ui->radio.labels();
        const auto labels = ui->state.LabelImage;
        ui->prompter.answers = answers;
        action(command)->trigger();
        QCOMPARE(ui->prompter.texts(), texts);
        QCOMPARE(dialogShows.shows, dialogs);
        QVERIFY(ui->state.LabelImage == labels && ui->radio.labels() == radioLabels);
        QVERIFY(ui->radio.labelControls().empty());
        QCOMPARE(backups().size(), 1);
    }

    void labelReadOfOneGroup_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("read") << "" << QStringList{"Group 3 labels read OK."};
        QTest::newRow("failed: table restored")
            << "drop-reply=label:20-40" << QStringList{"Unable to upload data from radio"};
    }
    void labelReadOfOneGroup() {
        QFETCH(QString, fault);
        QFETCH(QStringList, texts);
        frmGroups& w = open(2);
        ui->selectGroup(2);
        const auto wanted = distinctLabels();
        ui->radio.labels() = sim::labelMemoryFrom(wanted);
        if (!fault.isEmpty()) ui->radio.setFaults(faults(fault));
        const auto before = ui->state.LabelImage;
        const QString shownBefore = ui->cell(5, 0);
        w.mnuLabelRdGroup->trigger();
        QCOMPARE(ui->prompter.texts(), texts);
        QCOMPARE(w.TargetGroup, int16_t(2));
        if (!fault.isEmpty()) {
            QVERIFY(ui->state.LabelImage == before);
            QCOMPARE(ui->cell(5, 0), shownBefore);
            return;
        }
        QCOMPARE(ui->prompter.titles(), QStringList{QStringLiteral("Read Labels")});
        for (int i = 0; i < kLabelImageSize; ++i)
            QCOMPARE(ui->state.LabelImage[i], i % 16 == 2 ? wanted[i] : before[i]);
        QCOMPARE(ui->cell(5, 0), QStringLiteral("G3C1    "));
        QCOMPARE(w.txtGroupLabel->text(), QStringLiteral("G3C15   "));
    }

    void commandsDisabledDuringTransferAndBackAfterFailure() {
        frmGroups& w = open(1);
        QMainWindow other;  // another window of the editor, such as the global parameters
        other.show();
        const bool pasteBefore = w.mnuPaste->isEnabled();
        ui->radio.setFaults(faults(QStringLiteral("drop-reply=eeprom:10")));
        const QList<QAction*> guarded{w.mnuRead,         w.mnuWriteAll,       w.mnuWriteGroup,
                                      w.mnuCompare,      w.mnuOpen,           w.mnuImportCsv,
                                      w.mnuLabelRdRadio, w.mnuLabelConfig[0], w.mnuCommPort[1],
                                      w.mnuSerialTrace,  w.mnuUndo,           w.mnuTune,
                                      w.mnuExit};
        QStringList seen;
        bool closedMidway = true;
        ui->prompter.onShow = [&](const QString& text) {
            if (text != QLatin1String("Error reading radio")) return;
            for (QAction* a : guarded)
                if (a->isEnabled()) seen << a->objectName();
            for (QWidget* x :
                 QList<QWidget*>{w.cboCurrentGroup, w.Grid, w.txtID, w.chkScan[0], &other})
                if (x->isEnabled()) seen << x->objectName();
            if (!w.Prog1->isEnabled() || !w.mnuAbout->isEnabled()) seen << QStringLiteral("spared");
            if (!w.transferRunning()) seen << QStringLiteral("not running");
            closedMidway = w.close();
        };
        w.mnuRead->trigger();
        QCOMPARE(ui->prompter.texts(), QStringList{QStringLiteral("Error reading radio")});
        QCOMPARE(seen, QStringList{});
        QVERIFY(!closedMidway);
        QVERIFY(!w.transferRunning());
        for (QAction* a : guarded)
            if (a != w.mnuUndo) QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
        QCOMPARE(w.mnuPaste->isEnabled(), pasteBefore);
        QVERIFY(w.cboCurrentGroup->isEnabled() && w.Grid->isEnabled() && w.txtID->isEnabled());
        QVERIFY(other.isEnabled());
    }

    void backupsOfReadsAndWrites() {
        frmGroups& w = open(1);
        const QString folder = ui->home.path() + QStringLiteral("/data/TAVEDWIN/backups");
        w.mnuRead->trigger();
        QCOMPARE(backups(), QStringList{folder + QStringLiteral("/read-2026-12-06_07-31-05.tav")});
        QCOMPARE(fileBytes(backups().first()), SerializeRadioFile(ui->state));
        ui->setCell(1, 3, QStringLiteral("151.00000"));
        ui->prompter.answers = {MsgResult::Ok, MsgResult::Yes};
        w.mnuWriteAll->trigger();
        QCOMPARE(backups().size(), 2);
        QCOMPARE(backups().last(), folder + QStringLiteral("/write-2026-12-06_07-31-05-2.tav"));
        // What was about to be written, the edit included.
        QCOMPARE(fileBytes(backups().last()), SerializeRadioFile(ui->state));
        uint8_t b1 = 0, b2 = 0;
        QVERIFY(FreqTextToBytes(QStringLiteral("151.00000"), b1, b2));
        QCOMPARE(fileBytes(backups().last()).at(128 + 16 + 3 * 8), char(b1));
    }

    void serialTraceGoesToTheDataFolder() {
        frmGroups& w = open(1);
        QVERIFY(!w.mnuSerialTrace->isChecked() && !w.mnuTraceFile->isVisible());
        w.mnuSerialTrace->trigger();
        const QString path = ui->home.path() + QStringLiteral("/data/TAVEDWIN/trace-%1.txt")
                                                   .arg(QDate::currentDate().toString(Qt::ISODate));
        QVERIFY(w.mnuTraceFile->isVisible() && w.mnuTraceFile->text().endsWith(path));
        QCOMPARE(ui->settings->get(QStringLiteral("Comm"), QStringLiteral("Trace")),
                 QStringLiteral("True"));
        w.mnuReadGlobal->trigger();
        const QString text = QString::fromUtf8(fileBytes(path));
        QVERIFY(text.startsWith(QStringLiteral("# ")) && text.contains("Virtual radio"));
        QVERIFY(text.contains(" TX 0A\n") && text.contains(" RX 40\n"));
        w.mnuSerialTrace->trigger();
        QCOMPARE(ui->settings->get(QStringLiteral("Comm"), QStringLiteral("Trace")),
                 QStringLiteral("False"));
        const qint64 size = QFileInfo(path).size();
        w.mnuReadGlobal->trigger();
        QCOMPARE(QFileInfo(path).size(), size);
    }
};

TAV_TEST(TestRadioCommands);
#include "tst_radiocommands.moc"
