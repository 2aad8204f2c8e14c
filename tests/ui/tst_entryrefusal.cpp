// What the main window takes is what the radio holds: entries typed into the
// grid's cell editors and the Group Label field that the radio cannot hold
// are refused with a beep, the old value and the reason on the status bar,
// and leave the saved file as it was; accepted ones are shown as the file
// then holds them.

#include "TestMain.h"
#include "UiFixture.h"
#include "files/RadioFile.h"
#include "model/LabelText.h"
#include "model/MGlobals.h"

using namespace tav;
using namespace tav::test;

namespace {

constexpr int kRow = 3;
const QString kGroupLabel = QStringLiteral("txtGroupLabel");

// What channel 4 of group 1 holds in a saved file, in the look of the field.
QString savedText(const QString& path, const QString& field) {
    AppState s;
    if (!ReadRadioFile(path, s).ok()) return QStringLiteral("unreadable");
    const uint8_t* rec = &s.EEImage[128 + 16 + 8 * kRow];
    if (field == "1") return FreqBytesToText(rec[0], rec[1]);
    if (field == "2") return CGBytesToText(rec[3], rec[2]);
    return LabelCellsText(s, 0, field == kGroupLabel ? kGroupLabelSlot : kRow);
}

}  // namespace

class TestEntryRefusal : public QObject {
    Q_OBJECT

private slots:
    // Field (a grid column, or the Group Label), typed, then what the field
    // shows ("" for its old value), the beeps and the status line.
    void entriesTheRadioCannotHold_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<QString>("status");
        const QString hold = QStringLiteral(
            "the radio cannot hold this frequency (5 kHz steps, or 6.25 kHz and 12.5 kHz offsets)");
        const QString guard = QStringLiteral(
            "not a channel guard (a tone such as 067.0 below 800 Hz, or a digital code such as "
            "D023 or D023-)");
        const QString notShown = QStringLiteral("is not a character of the radio's display");
        const auto row = [](const char* name, const char* field, const QString& typed,
                            const char* shown, int beeps, const QString& status) {
            QTest::newRow(name) << field << typed << shown << beeps << status;
        };
        row("2.5 kHz step", "1", "155.0025", "", 1, "Rec Freq \"155.0025\": " + hold);
        row("7.5 kHz offset", "1", "155.0075", "", 1, "Rec Freq \"155.0075\": " + hold);
        row("off every raster", "1", "155.003125", "", 1,
            "Rec Freq \"155.003125\": not on the 2.5 kHz or 6.25 kHz channel raster");
        row("12.5 kHz offset", "1", "155.0125", "155.01250", 0, "");
        row("short entry", "1", "15.5", "155.00000", 0, "");
        row("digit 9 is not octal", "2", "D999", "", 1, "Rec CG \"D999\": " + guard);
        row("a letter", "2", "c", "", 1, "Rec CG \"c\": " + guard);
        row("1600 Hz", "2", "1600", "", 1, "Rec CG \"1600\": " + guard);
        row("inverted code", "2", "d023-", "D023-", 0, "");
        row("tone", "2", "67", "067.0", 0, "");
        row("label symbols", "5", "lower~\u00e9{}", "", 1,
            "Ch Label \"lower~\u00e9{}\": \"~\" " + notShown);
        row("label of 9 cells", "5", "abcdefghi", "", 1,
            "Ch Label \"abcdefghi\": longer than 8 display cells");
        row("label in capitals", "5", "lower", "LOWER", 0, "");
        row("group label symbol", "txtGroupLabel", "~", "", 1,
            "Group Label \"~\": \"~\" " + notShown);
        row("group label of 9 cells", "txtGroupLabel", "abcdefghi", "ABCDEFGh", 1,
            "Group Label \"ABCDEFGhi\": longer than 8 display cells");
        row("group label in capitals", "txtGroupLabel", "lower", "LOWER", 0, "");
    }
    void entriesTheRadioCannotHold() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        UiRig rig;
        frmGroups& w = rig.open();
        const int column = field.toInt();
        const auto text = [&] {
            return field == kGroupLabel ? w.txtGroupLabel->text() : rig.cell(column, kRow);
        };
        rig.setCell(5, kRow, QStringLiteral("OLD"));
        const QString old = text();
        const QString path = rig.home.path() + QStringLiteral("/entry.tav");
        rig.dialogAnswers = {path};
        w.mnuSave->trigger();
        const QByteArray before = readFile(path);
        QCOMPARE(before.size(), kRadioFileSize);
        w.statusBar()->showMessage(QStringLiteral("an earlier refusal"));

        QWidget* target = w.txtGroupLabel;
        if (field == kGroupLabel) {
            w.txtGroupLabel->setFocus();
            w.txtGroupLabel->selectAll();
        } else {
            rig.goTo(column, kRow);
        }
        // The first key opens the cell editor, which takes the others.
        for (const QChar c : typed + u'\r') {
            if (field != kGroupLabel)
                target = w.Grid->activeEditor() ? static_cast<QWidget*>(w.Grid->activeEditor())
                                                : w.Grid;
            const auto key = c == u'\r' ? Qt::Key_Return : Qt::Key(c.toUpper().unicode());
            QTest::sendKeyEvent(QTest::Click, target, key, QString(c), Qt::NoModifier);
            QCoreApplication::processEvents();
        }
        QCOMPARE(text(), shown.isEmpty() ? old : shown);
        QTEST(rig.clock.beeps(), "beeps");
        const QString status = w.statusBar()->currentMessage();
        QTEST(status, "status");

        w.mnuSave->trigger();
        if (shown.isEmpty())
            QCOMPARE(readFile(path), before);
        else
            QCOMPARE(savedText(path, field),
                     column == 1 || column == 2 ? shown : shown.leftJustified(8));
    }
};

TAV_TEST(TestEntryRefusal);
#include "tst_entryrefusal.moc"
