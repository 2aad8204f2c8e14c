// The Radio menu against the virtual radio on the virtual clock: label
// decisions, confirmations, restore after a failed read, the order of the
// messages, the commands disabled while a transfer runs, the automatic backups
// and the serial trace.

#include <QAction>
#include <QDir>
#include <QMainWindow>
#include <QProgressBar>

#include "UiFixture.h"
#include "files/Backups.h"
#include "files/RadioFile.h"
#include "model/LabelText.h"
#include "model/MGlobals.h"
#include "sim/RadioImage.h"
#include "sim/SimSerialLink.h"
#include "sim/VirtualClock.h"
#include "sim/VirtualRadio.h"
#include "ui/RadioCommands.h"
#include "ui/frmProc.h"

using namespace tav;
using namespace tav::test;

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

QAction* action(frmGroups& w, const QString& name) {
    auto* a = w.findChild<QAction*>(name);
    if (!a) qFatal("no action %s", qPrintable(name));
    return a;
}

}  // namespace

class TestRadioCommands : public QObject {
    Q_OBJECT
    std::unique_ptr<UiRig> ui;
    std::unique_ptr<sim::VirtualClock> clock;
    std::unique_ptr<sim::VirtualRadio> radio;
    ShowCounter dialogShows;

    // The window on the virtual radio with the label policy given.
    frmGroups& open(int policy) {
        ui->settings->saveInteger(QStringLiteral("Features"), QStringLiteral("Label"), policy);
        ui->clockOverride = clock.get();
        EditorServices s = ui->services();
        s.openPort = [this](int) { return std::make_unique<sim::SimSerialLink>(*radio, *clock); };
        ui->w = std::make_unique<frmGroups>(std::move(s));
        ui->w->procDialog->installEventFilter(&dialogShows);
        ui->w->radio().now = [] { return QDateTime(QDate(2026, 12, 6), QTime(7, 31, 5)); };
        return *ui->w;
    }
    QStringList backups() { return ui->w->radio().backups().list(); }
    QStringList titles() const {
        QStringList t;
        for (const ShownBox& b : ui->prompter.shown) t << b.title;
        return t;
    }

private slots:
    void init() {
        ui = std::make_unique<UiRig>();
        clock = std::make_unique<sim::VirtualClock>(100.0);
        radio = std::make_unique<sim::VirtualRadio>();
        radio->eeprom() = sim::defaultImage();
        radio->labels() = sim::defaultLabels();
        dialogShows.shows = 0;
    }
    void cleanup() {
        if (ui->w) {
            ui->prompter.answers = {MsgResult::No};
            ui->prompter.onShow = nullptr;
            ui->w->close();
        }
        ui.reset();
    }

    void cancelAtLabelQuestionTouchesNothing_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QList<MsgResult>>("answers");
        QTest::addColumn<QStringList>("texts");
        const QString read = QStringLiteral("Read Labels from Radio");
        const QString write = QStringLiteral("Write Labels to Radio");
        QTest::newRow("read radio")
            << "mnuRead" << QList<MsgResult>{MsgResult::Cancel} << QStringList{read};
        QTest::newRow("read group")
            << "mnuReadGroup" << QList<MsgResult>{MsgResult::Cancel} << QStringList{read};
        QTest::newRow("write radio")
            << "mnuWriteAll" << QList<MsgResult>{MsgResult::Ok, MsgResult::Yes, MsgResult::Cancel}
            << QStringList{kSure, kGlobals, write};
        QTest::newRow("write group")
            << "mnuWriteGroup" << QList<MsgResult>{MsgResult::Ok, MsgResult::Cancel}
            << QStringList{kSure, write};
    }
    void cancelAtLabelQuestionTouchesNothing() {
        QFETCH(QString, command);
        QFETCH(QList<MsgResult>, answers);
        QFETCH(QStringList, texts);
        frmGroups& w = open(2);
        const AppState before = ui->state;
        ui->prompter.answers = answers;
        action(w, command)->trigger();
        QCOMPARE(ui->prompter.texts(), texts);
        const ShownBox& question = ui->prompter.shown.last();
        QCOMPARE(question.title, QStringLiteral("TAV Editor"));
        QCOMPARE(question.buttons, MsgButtons::YesNoCancel);
        QCOMPARE(question.icon, MsgIcon::Question);
        QVERIFY(radio->received().empty());
        QCOMPARE(dialogShows.shows, 0);
        QVERIFY(ui->state.EEImage == before.EEImage);
        QVERIFY(ui->state.LabelImage == before.LabelImage);
        QVERIFY(backups().isEmpty());
    }

    void failedReadRestoresTheImage() {
        frmGroups& w = open(1);
        ui->setCell(1, 0, QStringLiteral("155.02500"));
        w.StoreCurrentGroup();
        const auto before = ui->state.EEImage;
        // The radio's group 1 differs, and the read breaks off in group 4.
        radio->eeprom()[128 + 16] = static_cast<uint8_t>(before[128 + 16] ^ 0xFF);
        radio->setFaults(faults(QStringLiteral("drop-reply=eeprom:600")));
        w.mnuRead->trigger();
        QCOMPARE(ui->prompter.texts(), QStringList{QStringLiteral("Error reading radio")});
        QVERIFY(ui->state.EEImage == before);
        w.displayGroupMemory();
        QCOMPARE(ui->cell(1, 0), QStringLiteral("155.02500"));
        QVERIFY(backups().isEmpty());
    }

    void writeRadioGlobalsQuestion_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No: global block left alone") << false;
        QTest::newRow("Yes: global window stored and written") << true;
    }
    void writeRadioGlobalsQuestion() {
        QFETCH(bool, yes);
        frmGroups& w = open(1);
        ui->state.GlobalsWindowOpen = true;
        int stores = 0;
        w.hooks.storeGlobals = [&] {
            ++stores;
            ui->state.EEImage[7] = 0x5A;
        };
        radio->eeprom()[7] = 0x11;
        ui->setCell(1, 0, QStringLiteral("155.02500"));
        ui->prompter.answers = {MsgResult::Ok, yes ? MsgResult::Yes : MsgResult::No};
        w.mnuWriteAll->trigger();
        QCOMPARE(ui->prompter.texts(),
                 (QStringList{kSure, kGlobals, QStringLiteral("All groups written OK.")}));
        QCOMPARE(titles().last(), QStringLiteral("Write Radio"));
        QCOMPARE(stores, yes ? 1 : 0);
        QCOMPARE(int(radio->eeprom()[7]), yes ? 0x5A : 0x11);
        bool globalWords = false;
        for (const sim::EEWrite& e : radio->eepromWrites())
            globalWords |= e.address < 36 || (e.address >= 66 && e.address < 128);
        QCOMPARE(globalWords, yes);
        // The shown group went out with the edit.
        QCOMPARE(radio->eeprom()[128 + 16], ui->state.EEImage[128 + 16]);
        QCOMPARE(radio->eeprom()[128 + 17], ui->state.EEImage[128 + 17]);
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
        QCOMPARE(titles().last(), QStringLiteral("Write Labels"));
        std::array<uint8_t, kLabelImageSize> inRadio{};
        sim::labelImageFrom(radio->labels(), inRadio);
        for (int k = 0; k < 8; ++k)
            QCOMPARE(inRadio[AppState::labelIndex(14, 0, k)], ui->state.label(14, 0, k));
        QCOMPARE(ShownLabelText(ui->state, 14, 0), QStringLiteral("HELLO   "));
    }

    void labelsComeBeforeGroupsInTheMessages_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QList<MsgResult>>("answers");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("titleList");
        QTest::newRow("read") << "mnuRead" << QList<MsgResult>{}
                              << QStringList{"All labels read OK.", "All groups read OK."}
                              << QStringList{"Read Labels", "Read Radio"};
        QTest::newRow("write") << "mnuWriteAll" << QList<MsgResult>{MsgResult::Ok, MsgResult::Yes}
                               << QStringList{kSure, kGlobals, "All labels written OK.",
                                              "All groups written OK."}
                               << QStringList{"", "", "Write Labels", "Write Radio"};
    }
    void labelsComeBeforeGroupsInTheMessages() {
        QFETCH(QString, command);
        QFETCH(QList<MsgResult>, answers);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, titleList);
        frmGroups& w = open(0);
        const bool read = command == QLatin1String("mnuRead");
        if (read) radio->labels() = sim::labelMemoryFrom(distinctLabels());
        ui->prompter.answers = answers;
        action(w, command)->trigger();
        QCOMPARE(ui->prompter.texts(), texts);
        QCOMPARE(titles(), titleList);
        std::array<uint8_t, kLabelImageSize> inRadio{};
        sim::labelImageFrom(radio->labels(), inRadio);
        for (int g = 0; g < kGroupCount; ++g)
            for (int slot = 0; slot < 16; ++slot)
                for (int k = 0; k < 8; ++k)
                    QCOMPARE(inRadio[AppState::labelIndex(g, slot, k)],
                             ui->state.label(g, slot, k));
        if (read) QCOMPARE(ui->cell(5, 0), QStringLiteral("G1C1    "));
    }

    void policyNeverNeverAsks_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QList<MsgResult>>("answers");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("dialogs");
        QTest::newRow("read radio")
            << "mnuRead" << QList<MsgResult>{} << QStringList{"All groups read OK."} << 1;
        QTest::newRow("read group") << "mnuReadGroup" << QList<MsgResult>{} << QStringList{} << 1;
        QTest::newRow("read globals: no dialog, no message")
            << "mnuReadGlobal" << QList<MsgResult>{} << QStringList{} << 0;
        QTest::newRow("write radio")
            << "mnuWriteAll" << QList<MsgResult>{MsgResult::Ok, MsgResult::Yes}
            << QStringList{kSure, kGlobals, "All groups written OK."} << 1;
        QTest::newRow("write group")
            << "mnuWriteGroup" << QList<MsgResult>{MsgResult::Ok} << QStringList{kSure} << 1;
    }
    void policyNeverNeverAsks() {
        QFETCH(QString, command);
        QFETCH(QList<MsgResult>, answers);
        QFETCH(QStringList, texts);
        QFETCH(int, dialogs);
        frmGroups& w = open(2);
        w.mnuLabelConfig[1]->trigger();
        QCOMPARE(w.LabelPolicy, 1);
        QVERIFY(w.mnuLabelConfig[1]->isChecked());
        QVERIFY(!w.mnuLabelConfig[0]->isChecked() && !w.mnuLabelConfig[2]->isChecked());
        QCOMPARE(ui->settings->get(QStringLiteral("Features"), QStringLiteral("Label")),
                 QStringLiteral("1"));

        radio->labels() = sim::labelMemoryFrom(distinctLabels());
        const auto radioLabels = radio->labels();
        const auto labels = ui->state.LabelImage;
        ui->prompter.answers = answers;
        action(w, command)->trigger();
        QCOMPARE(ui->prompter.texts(), texts);
        QCOMPARE(dialogShows.shows, dialogs);
        QVERIFY(ui->state.LabelImage == labels);
        QVERIFY(radio->labels() == radioLabels);
        QVERIFY(radio->labelControls().empty());
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
        radio->labels() = sim::labelMemoryFrom(wanted);
        if (!fault.isEmpty()) radio->setFaults(faults(fault));
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
        QCOMPARE(titles(), QStringList{QStringLiteral("Read Labels")});
        for (int i = 0; i < kLabelImageSize; ++i) {
            const bool bank3 = i % 16 == 2;
            QCOMPARE(ui->state.LabelImage[i], bank3 ? wanted[i] : before[i]);
        }
        QCOMPARE(ui->cell(5, 0), QStringLiteral("G3C1    "));
        QCOMPARE(w.txtGroupLabel->text(), QStringLiteral("G3C15   "));
    }

    void commandsDisabledDuringTransferAndBackAfterFailure() {
        frmGroups& w = open(1);
        QMainWindow other;  // another window of the editor, such as the global parameters
        other.show();
        const bool pasteBefore = w.mnuPaste->isEnabled();
        radio->setFaults(faults(QStringLiteral("drop-reply=eeprom:10")));
        QStringList seen;
        bool closedMidway = true;
        ui->prompter.onShow = [&](const QString& text) {
            if (text != QLatin1String("Error reading radio")) return;
            for (QAction* a : {w.mnuRead, w.mnuWriteAll, w.mnuWriteGroup, w.mnuOpen, w.mnuSave,
                               w.mnuLabelRdRadio, w.mnuLabelConfig[0], w.mnuCommPort[1],
                               w.mnuSerialTrace, w.mnuUndo, w.mnuGlobals, w.mnuTune, w.mnuExit})
                if (a->isEnabled()) seen << a->objectName();
            for (QWidget* x : {static_cast<QWidget*>(w.cboCurrentGroup),
                               static_cast<QWidget*>(w.Grid), static_cast<QWidget*>(w.txtID),
                               static_cast<QWidget*>(w.chkScan[0]), static_cast<QWidget*>(&other)})
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
        for (QAction* a : {w.mnuRead, w.mnuWriteAll, w.mnuOpen, w.mnuLabelConfig[0],
                           w.mnuCommPort[1], w.mnuSerialTrace, w.mnuExit})
            QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
        QCOMPARE(w.mnuPaste->isEnabled(), pasteBefore);
        QVERIFY(w.cboCurrentGroup->isEnabled() && w.Grid->isEnabled() && w.txtID->isEnabled());
        QVERIFY(other.isEnabled());
    }

    void backupsOfReadsAndWrites() {
        frmGroups& w = open(1);
        const QString folder = ui->home.path() + QStringLiteral("/data/TAVEDWIN/backups");
        QCOMPARE(w.radio().backups().folder(), folder);
        w.mnuRead->trigger();
        QCOMPARE(backups(), QStringList{folder + QStringLiteral("/read-2026-12-06_07-31-05.tav")});
        const auto file = [](const QString& path) {
            QFile f(path);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        QCOMPARE(file(backups().first()), SerializeRadioFile(ui->state));

        ui->setCell(1, 3, QStringLiteral("151.00000"));
        ui->prompter.answers = {MsgResult::Ok, MsgResult::Yes};
        w.mnuWriteAll->trigger();
        QCOMPARE(backups().size(), 2);
        QCOMPARE(backups().last(), folder + QStringLiteral("/write-2026-12-06_07-31-05-2.tav"));
        // What was about to be written, the edit included.
        QCOMPARE(file(backups().last()), SerializeRadioFile(ui->state));
        uint8_t b1 = 0, b2 = 0;
        QVERIFY(FreqTextToBytes(QStringLiteral("151.00000"), b1, b2));
        QCOMPARE(file(backups().last()).at(128 + 16 + 3 * 8), char(b1));
    }

    void serialTraceGoesToTheDataFolder() {
        frmGroups& w = open(1);
        QVERIFY(!w.mnuSerialTrace->isChecked());
        QVERIFY(!w.mnuTraceFile->isVisible());
        w.mnuSerialTrace->trigger();
        const QString path = ui->home.path() + QStringLiteral("/data/TAVEDWIN/trace-%1.txt")
                                                   .arg(QDate::currentDate().toString(Qt::ISODate));
        QVERIFY(w.mnuSerialTrace->isChecked());
        QVERIFY(w.mnuTraceFile->isVisible());
        QVERIFY(w.mnuTraceFile->text().endsWith(path));
        QCOMPARE(ui->settings->get(QStringLiteral("Comm"), QStringLiteral("Trace")),
                 QStringLiteral("True"));
        w.mnuReadGlobal->trigger();
        QFile trace(path);
        QVERIFY(trace.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(trace.readAll());
        QVERIFY(text.startsWith(QStringLiteral("# ")));
        QVERIFY(text.contains(QStringLiteral("Virtual radio")));
        QVERIFY(text.contains(QStringLiteral(" TX 0A\n")));
        QVERIFY(text.contains(QStringLiteral(" RX 40\n")));

        w.mnuSerialTrace->trigger();
        QCOMPARE(ui->settings->get(QStringLiteral("Comm"), QStringLiteral("Trace")),
                 QStringLiteral("False"));
        const qint64 size = QFileInfo(path).size();
        w.mnuReadGlobal->trigger();
        QCOMPARE(QFileInfo(path).size(), size);
    }
};

QTEST_MAIN(TestRadioCommands)
#include "tst_radiocommands.moc"
