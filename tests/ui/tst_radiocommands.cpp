// The Radio menu against the virtual radio on the virtual clock: its questions
// and messages, the transfer guard, restores, backups and the serial trace.

#include "TestMain.h"
#include "UiFixture.h"
#include "files/RadioFile.h"
#include "model/GridText.h"
#include "model/LabelText.h"
#include "model/MGlobals.h"
#include "ui/PortMaker.h"
#include "ui/frmCompare.h"
#include "ui/frmProc.h"

using namespace tav;
using namespace tav::test;
using Answers = QList<MsgResult>;

namespace {

const QString kSure = QStringLiteral("Are you sure you want to write to the radio?");
const QString kGlobals = QStringLiteral("Write Global Parameters?");
const QString kSureBox = kSure + " |  | OkCancel | None";
const QString kGlobalsBox = kGlobals + " |  | YesNo | None";
// The factory radio holds named blocks where the editor's defaults put group 15.
const QString kGroup15Left =
    "Group 15 is not configured for channel data in this radio; its channels were not written. "
    "| Write Radio | Ok | Exclamation";
const QString kLabelsNotWritten =
    "The groups were written, but the labels were not: the image keeps its labels, and the radio "
    "may hold only some of them. | Write Radio | Ok | Exclamation";

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

// Whether the radio holds the editor's labels of group g (0-based).
bool radioHasLabels(RadioUiRig& ui, int g) {
    std::array<uint8_t, kLabelImageSize> inRadio{};
    sim::labelImageFrom(ui.radio.labels(), inRadio);
    for (int i = 0; i < 16 * 8; ++i)
        if (inRadio[AppState::labelIndex(g, i / 8, i % 8)] != ui.state.label(g, i / 8, i % 8))
            return false;
    return true;
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

    // The label policy chosen in the menu, its question (Cancel, the safe
    // answer, when none is scripted), and the messages in their order: labels
    // come before groups. Labels of the shown group: r read from the radio, w
    // written to it, - left alone, x the command cancelled (nothing sent,
    // nothing changed, no backup).
    void labelPolicy_data() {
        QTest::addColumn<int>("policy");
        QTest::addColumn<int>("group");
        QTest::addColumn<QString>("command");
        QTest::addColumn<Answers>("answers");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<int>("dialogs");
        QTest::addColumn<char>("labels");
        const auto box = [](const QString& text, const char* title = "",
                            const char* buttons = "Ok") {
            return QStringLiteral("%1 | %2 | %3 | None").arg(text, title, buttons);
        };
        const QString sure = box(kSure, "", "OkCancel"), globals = box(kGlobals, "", "YesNo");
        const QString readAsk = "Read Labels from Radio | TAV Editor | YesNoCancel | Question";
        const QString writeAsk = "Write Labels to Radio | TAV Editor | YesNoCancel | Question";
        const QString groupsRead = box("All groups read OK.", "Read Radio");
        const QString groupsWritten = box("All groups written OK.", "Write Radio");
        const Answers ok{MsgResult::Ok}, okYes{MsgResult::Ok, MsgResult::Yes};
        const auto row = [](const char* name, int policy, const char* command, Answers answers,
                            QStringList boxes, int dialogs, char labels, int group = 0) {
            QTest::newRow(name) << policy << group << command << answers << boxes << dialogs
                                << labels;
        };
        row("ask, read radio", 2, "mnuRead", {}, {readAsk}, 0, 'x');
        row("ask, read group", 2, "mnuReadGroup", {}, {readAsk}, 0, 'x');
        row("ask, write radio", 2, "mnuWriteAll", okYes, {sure, globals, writeAsk}, 0, 'x');
        row("ask, write group", 2, "mnuWriteGroup", ok, {sure, writeAsk}, 0, 'x');
        row("ask, compare", 2, "mnuCompare", {}, {readAsk}, 0, 'x');
        row("always, read radio", 0, "mnuRead", {},
            {box("All labels read OK.", "Read Labels"), groupsRead}, 2, 'r');
        row("always, write radio", 0, "mnuWriteAll", okYes,
            {sure, globals, box("All labels written OK.", "Write Labels"), groupsWritten,
             kGroup15Left},
            2, 'w');
        // Labels are a transfer of their own: they go even when the group did not.
        row("always, write group 15", 0, "mnuWriteGroup", ok,
            {sure, box("Group not configured for channel data.", "WRITE GROUP"),
             box("Write Group Failed"), box("Group 15 labels written OK.", "Write Labels")},
            2, 'w', 14);
        row("never, read radio", 1, "mnuRead", {}, {groupsRead}, 1, '-');
        row("never, read group", 1, "mnuReadGroup", {}, {}, 1, '-');
        row("never, read globals", 1, "mnuReadGlobal", {}, {}, 0, '-');
        row("never, write radio", 1, "mnuWriteAll", okYes,
            {sure, globals, groupsWritten, kGroup15Left}, 1, '-');
        row("never, write group", 1, "mnuWriteGroup", ok, {sure}, 1, '-');
    }
    void labelPolicy() {
        QFETCH(int, policy);
        QFETCH(int, group);
        QFETCH(QString, command);
        QFETCH(Answers, answers);
        QFETCH(char, labels);
        frmGroups& w = open((policy + 1) % 3);
        w.mnuLabelConfig[policy]->trigger();
        QCOMPARE(ui->settings->get(QStringLiteral("Features"), QStringLiteral("Label")),
                 QString::number(policy));
        ui->selectGroup(group);
        ui->radio.labels() = sim::labelMemoryFrom(distinctLabels());
        const AppState before = ui->state;
        ui->prompter.answers = answers;
        action(command)->trigger();
        QTEST(boxLines(ui->prompter.shown), "boxes");
        QTEST(dialogShows.shows, "dialogs");
        QCOMPARE(ui->radio.received().empty(), labels == 'x');
        QCOMPARE(radioHasLabels(*ui, group), labels == 'r' || labels == 'w');
        QCOMPARE(ui->state.LabelImage == before.LabelImage, labels != 'r');
        QCOMPARE(ui->radio.labelControls().empty(), labels != 'r');
        if (labels == 'r') QCOMPARE(ui->cell(5, 0), "G1C1    ");
        if (labels == 'x') QVERIFY(ui->state.EEImage == before.EEImage);
        // One backup of each transfer, of the editor's image as it then was.
        QCOMPARE(backups().size(), labels == 'x' ? 0 : 1);
        if (labels != 'x') QCOMPARE(readFile(backups()[0]), SerializeRadioFile(ui->state));
    }

    void labelReadOfOneGroup_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("read") << ""
                              << QStringList{"Group 3 labels read OK. | Read Labels | Ok | None"};
        QTest::newRow("failed: table restored")
            << "drop-reply=label:20-40"
            << QStringList{"Unable to upload data from radio |  | Ok | None"};
    }
    void labelReadOfOneGroup() {
        QFETCH(QString, fault);
        frmGroups& w = open(2);
        ui->selectGroup(2);
        const auto wanted = distinctLabels();
        ui->radio.labels() = sim::labelMemoryFrom(wanted);
        if (!fault.isEmpty()) ui->radio.setFaults(faults(fault));
        const auto before = ui->state.LabelImage;
        w.mnuLabelRdGroup->trigger();
        QTEST(boxLines(ui->prompter.shown), "boxes");
        for (int i = 0; i < kLabelImageSize; ++i)
            QCOMPARE(ui->state.LabelImage[i],
                     i % 16 == 2 && fault.isEmpty() ? wanted[i] : before[i]);
        QCOMPARE(ui->cell(5, 0), fault.isEmpty() ? "G3C1    " : "Ch  1   ");
        QCOMPARE(w.txtGroupLabel->text(), fault.isEmpty() ? "G3C15   " : "GROUP 3 ");
    }

    // While a read runs every command that could touch the radio, the image
    // or the port is disabled, and other windows too; the window refuses to
    // close. After a failure all comes back, the image is as before and no
    // label is read; a reply lost after the block fails the read as one lost in it.
    void failedReadGuardsAndRestores_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("reply");  // of the word reads
        QTest::newRow("Read Radio") << "mnuRead" << 600;
        QTest::newRow("Compare with Radio") << "mnuCompare" << 600;
        // The last power word; a group's capability byte; the global block's power block lookup.
        QTest::newRow("Read Radio, power word") << "mnuRead" << 2100;
        QTest::newRow("Compare, power word") << "mnuCompare" << 2100;
        QTest::newRow("Read Group, capability") << "mnuReadGroup" << 129;
        QTest::newRow("Read Global, directory") << "mnuReadGlobal" << 129;
    }
    void failedReadGuardsAndRestores() {
        QFETCH(QString, command);
        QFETCH(int, reply);
        frmGroups& w = open(0);
        QMainWindow other;  // another window of the editor, such as the global parameters
        other.show();
        ui->setCell(1, 0, QStringLiteral("155.02500"));
        w.StoreCurrentGroup();
        const AppState before = ui->state;
        // The radio's group 1 and power words differ.
        ui->radio.eeprom()[128 + 16] = static_cast<uint8_t>(before.EEImage[128 + 16] ^ 0xFF);
        for (int i = 0; i < 30; ++i)  // the power words: group index i / 2, first or second byte
            ui->radio.eeprom()[1970 + i] = uint8_t(~before.PowerMask[i / 2 + i % 2 * 15]);
        ui->radio.setFaults(faults(QStringLiteral("drop-reply=eeprom:%1").arg(reply)));
        const QStringList guarded =
            QStringLiteral(
                "mnuRead mnuWriteAll mnuWriteGroup mnuCompare mnuOpen mnuImportCsv mnuLabelRdRadio "
                "mnuLabelConfig_0 mnuCommPort_1 mnuSerialTrace mnuUndo mnuTune mnuExit "
                "cboCurrentGroup Grid txtID chkAlphaEnabled other")
                .split(u' ');
        const auto enabled = [&] {
            QStringList on;
            for (const QString& name : guarded)
                if (QObject* o = name == "other" ? &other : w.findChild<QObject*>(name))
                    if (o->property("enabled").toBool()) on << name;
            return on;
        };
        QStringList during{QStringLiteral("no message")};
        ui->prompter.onShow = [&](const QString&) {
            during = enabled();
            if (!w.Prog1->isEnabled() || !w.mnuAbout->isEnabled())
                during << QStringLiteral("spared");
            if (!w.transferRunning() || w.close()) during << QStringLiteral("not running");
        };
        action(command)->trigger();
        QCOMPARE(ui->prompter.texts(), QStringList{QStringLiteral("Error reading radio")});
        QCOMPARE(during, QStringList{});
        QCOMPARE(enabled(), guarded);
        QVERIFY(!w.transferRunning() && ui->state.EEImage == before.EEImage);
        QVERIFY(ui->state.PowerMask == before.PowerMask && ui->radio.labelControls().empty());
        w.displayGroupMemory();
        QCOMPARE(ui->cell(1, 0), "155.02500");
        QVERIFY(backups().isEmpty() && !w.radio().compareWindow());
    }

    void writeRadioGlobalsQuestion_data() {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("changedOnly");
        QTest::newRow("No: global block left alone") << false << false;
        QTest::newRow("Yes: global window stored and written") << true << false;
        QTest::newRow("changed only: the same write again sends nothing") << true << true;
    }
    void writeRadioGlobalsQuestion() {
        QFETCH(bool, yes);
        QFETCH(bool, changedOnly);
        const QString features = QStringLiteral("Features"), key = QStringLiteral("ChangedOnly");
        ui->settings->saveFlag(features, key, changedOnly);
        frmGroups& w = open(1);
        QCOMPARE(w.mnuChangedOnly->isChecked(), changedOnly);
        ui->state.GlobalsWindowOpen = true;
        int stores = 0;
        w.hooks.storeGlobals = [&] { ++stores, ui->state.EEImage[7] = 0x5A; };
        ui->radio.eeprom()[7] = 0x11;
        ui->setCell(1, 3, QStringLiteral("151.00000"));  // shown, not yet stored
        ui->prompter.answers = {MsgResult::Ok, yes ? MsgResult::Yes : MsgResult::No};
        w.mnuWriteAll->trigger();
        QCOMPARE(stores, yes ? 1 : 0);
        QCOMPARE(int(ui->radio.eeprom()[7]), yes ? 0x5A : 0x11);
        // The shown group went out with the edit, and into the backup made first.
        QVERIFY(backups().value(0).endsWith(QStringLiteral("/write-2026-12-06_07-31-05.tav")));
        const QByteArray backup = readFile(backups().value(0));
        QCOMPARE(backup, SerializeRadioFile(ui->state));
        uint8_t b[2];
        QVERIFY(FreqTextToBytes("151.00000", b[0], b[1]));
        const int at = 128 + 16 + 3 * 8;  // Rec Freq of channel 4
        QCOMPARE(backup.mid(at, 2), QByteArray(reinterpret_cast<char*>(b), 2));
        QCOMPARE(ui->radio.eeprom()[at], b[0]);
        const std::size_t writes = ui->radio.eepromWrites().size();
        // A label write first: the count of label characters is this command's.
        if (changedOnly) w.mnuLabelWrtRadio->trigger();
        ui->prompter.shown.clear();
        ui->prompter.answers = {MsgResult::Ok, MsgResult::Yes};
        w.mnuWriteAll->trigger();
        QCOMPARE(boxLines(ui->prompter.shown).mid(2),
                 (QStringList{"All groups written OK. | Write Radio | Ok | None", kGroup15Left}));
        // Changed only, the 19 open words of page 0, 61 of each group page, 15 power words.
        QCOMPARE(ui->prompter.shown[2].detail,
                 changedOnly ? "0 of 888 words written, 0 of 0 label characters written" : "");
        QCOMPARE(ui->radio.eepromWrites().size() == writes, changedOnly);
        w.mnuChangedOnly->trigger();
        QCOMPARE(ui->settings->flag(features, key, changedOnly), !changedOnly);
    }

    // A radio without per-channel bandwidth cannot take a narrow bit: Write Radio
    // says so as a group write does, and Compare lists the bit the radio lacks.
    void narrowBitOnARadioWithoutBandwidth() {
        frmGroups& w = open(1);
        sim::setBandwidthCapable(ui->radio.eeprom(), false);
        w.mnuRead->trigger();
        ui->prompter.shown.clear();
        QTest::keyClick(w.chkNarr[1], Qt::Key_Space);
        const sim::EEPromImage held = ui->radio.eeprom();
        ui->prompter.answers = {MsgResult::Ok, MsgResult::Yes};
        w.mnuWriteAll->trigger();
        QCOMPARE(boxLines(ui->prompter.shown),
                 (QStringList{kSureBox, kGlobalsBox,
                              "Warning: This radio is not factory configured\rfor per-channel "
                              "bandwidth. | Write Bandwidth | Ok | None",
                              "All groups written OK. | Write Radio | Ok | None"}));
        QVERIFY(ui->radio.eeprom() == held);
        w.mnuCompare->trigger();
        QCOMPARE(w.radio().compareWindow()->txtDifferences->toPlainText(),
                 "group 1 channel 2 Narrow: 1 -> 0");
    }

    // Groups the radio is not configured for (2 and 15 here) are left out of
    // Write Radio; as they hold edits the radio does not have, a second
    // message names them. The window says so while such a group is shown.
    void writeRadioNamesGroupsLeftOut() {
        sim::setPageConfigured(ui->radio.eeprom(), 2, false);
        frmGroups& w = open(1);
        const auto note = [&](int group) {
            ui->selectGroup(group);
            return w.lblChannelHolding->isVisible() ? w.lblChannelHolding->text() : QString();
        };
        QCOMPARE(note(1), "");  // the editor's defaults tell nothing of a radio
        w.mnuRead->trigger();
        QCOMPARE(note(0), "");
        QCOMPARE(note(1),
                 "Group 2 is not configured for channel data in this radio; the radio "
                 "does not hold its channels.");
        w.activateWindow();  // back from the progress dialog
        QVERIFY(QTest::qWaitForWindowActive(&w));
        for (int g : {1, 2, 14}) {  // channel 1's Rx Freq typed
            ui->selectGroup(g);
            ui->goTo(1, 0);
            ui->type(QStringLiteral("151.0"));
        }
        QCOMPARE(w.lblChannelHolding->text().left(9), "Group 15 ");
        const sim::EEPromImage before = ui->radio.eeprom();
        ui->prompter.shown.clear();
        ui->prompter.answers = {MsgResult::Ok, MsgResult::Yes};
        w.mnuWriteAll->trigger();
        QCOMPARE(
            boxLines(ui->prompter.shown),
            (QStringList{kSureBox, kGlobalsBox, "All groups written OK. | Write Radio | Ok | None",
                         "Groups 2, 15 are not configured for channel data in this radio; "
                         "their channels were not written. | Write Radio | Ok | Exclamation"}));
        // The radio's bytes: group 3's edit; groups 2 and 15 as they were.
        uint8_t b[2];
        QVERIFY(FreqTextToBytes("151.00000", b[0], b[1]));
        QCOMPARE(ui->radio.eeprom()[3 * kPageSize + 16], b[0]);
        for (int a : {2 * kPageSize + 16, 15 * kPageSize + 16})
            QCOMPARE(ui->radio.eeprom()[a], before[a]);
        QCOMPARE(note(2), "");  // until a global read tells otherwise
        sim::setPageConfigured(ui->radio.eeprom(), 3, false);
        w.mnuReadGlobal->trigger();
        QVERIFY(w.lblChannelHolding->isVisible());
    }

    // A label transfer that did not go through: no success box, but one that
    // says so, and what the image and the radio hold. The label write shows
    // the progress dialog as the block transfers do; its Cancel, clicked while
    // labels go out, stops it between two labels after the write question
    // (answered No, it goes on). `sent`: bank 1's labels the radio took.
    void labelOutcomes_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("cancel");  // -1 no click, else the answer: 1 Yes, 0 No
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<int>("sent");
        const QString question =
            "Warning:\rCancelling a write operation may leave the radio in an unpredictable "
            "state.\rAre you sure you want to cancel? |  | YesNo | Question";
        const QString toRadio = "Unable to upload data to radio |  | Ok | None";
        const auto row = [](const char* name, const char* command, const char* fault, int cancel,
                            const QStringList& boxes, int sent) {
            QTest::newRow(name) << command << fault << cancel << boxes << sent;
        };
        row("Read Radio, label read fails", "mnuRead", "drop-reply=label:20-40", -1,
            {"Unable to upload data from radio |  | Ok | None",
             "The groups were read, but the labels were not: the image keeps the labels it had "
             "before. | Read Radio | Ok | Exclamation"},
            0);
        row("Write Radio, label write fails", "mnuWriteAll", "drop-echo=label:9", -1,
            {kSureBox, kGlobalsBox, toRadio, kLabelsNotWritten}, 1);
        row("Write Radio, Cancel", "mnuWriteAll", "", 1,
            {kSureBox, kGlobalsBox, question, kLabelsNotWritten}, 4);
        row("Labels > Write Radio, Cancel", "mnuLabelWrtRadio", "", 1, {question}, 4);
        row("Labels > Write Radio, Cancel: No", "mnuLabelWrtRadio", "", 0,
            {question, "All labels written OK. | Write Labels | Ok | None"}, 16);
    }
    void labelOutcomes() {
        QFETCH(QString, command);
        QFETCH(QString, fault);
        QFETCH(int, cancel);
        frmGroups& w = open(1);
        w.mnuRead->trigger();  // the image as the radio holds it: no group left out
        w.mnuLabelConfig[0]->trigger();
        ui->radio.eeprom()[kPageSize + 16] ^= 0xFF;  // for a read to bring, a write to send
        const auto held = sim::labelMemoryFrom(distinctLabels());
        ui->radio.labels() = held;
        if (!fault.isEmpty()) ui->radio.setFaults(faults(fault));
        const AppState before = ui->state;
        ui->prompter.shown.clear();
        ui->prompter.answers = {MsgResult::Ok, MsgResult::Yes};
        if (command == "mnuLabelWrtRadio") ui->prompter.answers.clear();
        if (cancel >= 0) ui->prompter.answers << (cancel ? MsgResult::Yes : MsgResult::No);
        QStringList seen;
        ui->clock.onWait = [&] {  // three labels are out, the fourth going
            if (cancel < 0 || !seen.isEmpty() || w.Prog1->maximum() != 240 || w.Prog1->value() < 3)
                return;
            frmProc* d = w.procDialog;
            seen << d->windowTitle() << d->lblInfo->text()
                 << QString::number(d->isVisible() && d->CancelButton->isEnabled());
            QTest::mouseClick(d->CancelButton, Qt::LeftButton);
        };
        action(command)->trigger();
        ui->clock.onWait = nullptr;
        QTEST(boxLines(ui->prompter.shown), "boxes");
        if (cancel >= 0)
            QCOMPARE(seen, (QStringList{"TAV Processing", "Please Wait - Writing Labels", "1"}));
        QVERIFY(!w.procDialog->isVisible());
        QVERIFY(ui->state.LabelImage == before.LabelImage);
        if (command != "mnuLabelWrtRadio")  // the groups were read or written
            QVERIFY(std::equal(ui->radio.eeprom().begin(), ui->radio.eeprom().end(),
                               ui->state.EEImage.begin()));
        std::array<uint8_t, kLabelImageSize> inRadio{}, was{};
        sim::labelImageFrom(ui->radio.labels(), inRadio);
        sim::labelImageFrom(held, was);
        QFETCH(int, sent);
        for (int c = 0; c < 16; ++c)
            for (int k = 0; k < 8; ++k) {
                const int i = AppState::labelIndex(0, c, k);
                QCOMPARE(inRadio[i], c < sent ? ui->state.LabelImage[i] : was[i]);
            }
    }

    // The editor's own virtual radio is the factory radio: a newcomer's edit,
    // written, is in the radio and comes back with the next read. It keeps no
    // record of the traffic, however long the editor runs.
    void editorsVirtualRadioKeepsAWrittenEdit() {
        ui->settings->saveInteger(QStringLiteral("Features"), QStringLiteral("Label"), 0);
        ui->settings->saveFlag(QStringLiteral("Comm"), QStringLiteral("Virtual"), true);
        PortMaker ports(*ui->settings, ui->clock);
        const auto closeFirst = qScopeGuard([this] { ui->closeWindow(); });
        EditorServices s = ui->services();
        s.openPort = [&ports](int p) { return ports.make(p); };
        frmGroups& w = ui->open(std::move(s));
        w.mnuRead->trigger();
        QCoreApplication::processEvents();  // the window active again after the message boxes
        ui->goTo(grid::RecFreq, 2);
        ui->type(QStringLiteral("155.025"));
        ui->goTo(grid::ChLabel, 2);
        ui->type(QStringLiteral("PUMP"));
        ui->prompter.answers = {MsgResult::Ok, MsgResult::Yes};
        w.mnuWriteAll->trigger();
        ui->setCell(grid::RecFreq, 2, QStringLiteral("none"));
        ui->setCell(grid::ChLabel, 2, QString());
        w.mnuRead->trigger();
        QCOMPARE(ui->cell(grid::RecFreq, 2), "155.02500");
        QCOMPARE(ui->cell(grid::ChLabel, 2), "PUMP    ");
        sim::VirtualRadio& radio = ports.virtualRadio();
        // Group 1's page, channel 3's receive frequency: 155.025 MHz.
        QCOMPARE((QList<int>{radio.eeprom()[128 + 32], radio.eeprom()[128 + 33]}),
                 (QList<int>{0xD5, 0x02}));
        const auto* link = dynamic_cast<sim::SimSerialLink*>(w.commLink());
        QVERIFY(link && link->timeline().empty());
        QVERIFY(radio.wireLog().empty() && radio.eepromWrites().empty());
    }

    void serialTraceGoesToTheDataFolder() {
        frmGroups& w = open(1);
        QVERIFY(!w.mnuSerialTrace->isChecked() && !w.mnuTraceFile->isVisible());
        w.mnuSerialTrace->trigger();
        const QString path = ui->home.path() + QStringLiteral("/data/TAVEDWIN/trace-%1.txt")
                                                   .arg(QDate::currentDate().toString(Qt::ISODate));
        QVERIFY(w.mnuTraceFile->isVisible() && w.mnuTraceFile->text().endsWith(path));
        QCOMPARE(ui->settings->get(QStringLiteral("Comm"), QStringLiteral("Trace")), "True");
        w.mnuReadGlobal->trigger();
        const QString text = QString::fromUtf8(readFile(path));
        QVERIFY(text.startsWith(QStringLiteral("# ")) && text.contains("Virtual radio"));
        QVERIFY(text.contains(" TX 0A\n") && text.contains(" RX 40\n"));
        w.mnuSerialTrace->trigger();
        QCOMPARE(ui->settings->get(QStringLiteral("Comm"), QStringLiteral("Trace")), "False");
        w.mnuReadGlobal->trigger();
        QCOMPARE(readFile(path).size(), text.toUtf8().size());
    }
};

TAV_TEST(TestRadioCommands);
#include "tst_radiocommands.moc"
