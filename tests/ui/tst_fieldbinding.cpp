// Every control bound to a field, driven as a user drives it: the bytes it
// stores (worked out by hand), no other bit, the value shown again from the
// image, and the one signal that reports the user's edit.

#include "TestMain.h"
#include "UiFixture.h"
#include "ui/FieldBinding.h"
#include "ui/frmGlobals.h"

using namespace tav;
using namespace tav::test;

namespace {

constexpr int kG = 6;  // the group the rows edit: page 7

struct Row {
    const char* key;
    char window;         // 'g' the main window, 'u' the global parameters window
    const char* object;  // the control
    const char* input;   // a list's entry or a text; a button is clicked
    char where;          // 'U' page 0, 'P' the group's page, 'B' its backlight byte, 'L' its label
    int at;              // first byte (label: first cell)
    int mask;            // of the first byte; the rest are whole
    const char* bytes;   // stored, under the masks; "-" for unchanged
};

const Row kRows[] = {
    {"scan_hold_time", 'g', "cboScan", "5.5", 'P', 2, 0xF0, "B0"},
    {"time_out_timer", 'g', "cboTOT", "180", 'P', 2, 0x0F, "0C"},
    {"busy_channel_indicator", 'g', "cboBCI", "Override", 'P', 4, 0xC0, "80"},
    {"resident_ani_dtmf", 'g', "cboANI", "ANI Only", 'P', 4, 0x30, "20"},
    {"priority_channel", 'g', "cboPri1Chan", "Ch 12", 'P', 3, 0x0F, "0B"},
    {"priority_mode", 'g', "PriModeB", "", 'P', 3, 0xC0, "80"},
    {"priority_mode", 'g', "PriModeC", "", 'P', 3, 0xC0, "C0"},
    {"priority_mode", 'g', "PriModeD", "", 'P', 3, 0xC0, "40"},
    {"battery_saver", 'g', "optBattSaveOff", "", 'P', 0, 0x80, "80"},
    {"user_code_guard", 'g', "optUCGEnabled", "", 'P', 0, 0x40, "40"},
    {"ucg_channel", 'g', "cboUCGChan", "9", 'P', 8, 0x0F, "09"},
    {"ucg_encode_only", 'g', "chkUCGEncode", "", 'P', 8, 0x80, "80"},
    {"priority_key_lockout", 'g', "chkPriKeyLock", "", 'P', 3, 0x20, "20"},
    {"ent_clr_key_lockout", 'g', "chkENTCLRLock", "", 'P', 3, 0x10, "10"},
    {"ani_id", 'g', "txtID", "1234ABC", 'P', 4, 0x0F, "01234ABC"},
    {"label", 'g', "txtGroupLabel", "BB BB BB", 'L', 0, 0xFF, "1616601616601616"},
    {"backlight_timeout", 'g', "cboBlTimeout", "3 Seconds", 'B', 0, 0x0E, "06"},
    {"alpha_enabled", 'g', "chkAlphaEnabled", "", 'B', 0, 0x01, "00"},  // on by default
    {"backlight_keypress", 'g', "chkBlKeypress", "", 'B', 0, 0x10, "10"},
    {"backlight_other_display", 'g', "chkBlOther", "", 'B', 0, 0x20, "20"},
    {"backlight_scan_state_change", 'g', "chkBLScanState", "", 'B', 0, 0x40, "40"},
    {"backlight_channel_change", 'g', "chkBlChannel", "", 'B', 0, 0x80, "80"},
    {"priority_rate", 'u', "cboPriRate", "2.5", 'U', 6, 0x78, "48"},
    {"dtmf_deviation", 'u', "cboDTMFDev", "5062.5", 'U', 7, 0xF8, "D8"},
    {"global_battery_saver", 'u', "cboBattSave", "Inhibit", 'U', 6, 0x80, "80"},
    {"bank_scan", 'u', "cboTalkBack", "Enabled", 'U', 6, 0x01, "01"},
    {"display_frequencies_only", 'u', "cboFreqDisplay", "Enabled", 'U', 104, 0x80, "80"},
    {"ani_rate", 'u', "cboANIRate", "20", 'U', 7, 0x04, "04"},
    {"front_porch_time", 'u', "cboPorchTime", "690", 'U', 7, 0x03, "02"},
    {"password", 'u', "txtPassWord", "A1B2C3", 'U', 11, 0xFF, "A1B2C3"},
    // Set by the factory: its box is disabled, a click changes nothing.
    {"per_channel_bandwidth", 'u', "chkPerChannelBandwidth", "", 'U', 6, 0x04, "-"},
};

ImageBits place(char where, int at, int mask) {
    const auto m = uint8_t(mask);
    switch (where) {
        case 'U':
            return {ImageBlock::EEImage, at, m};
        case 'P':
            return {ImageBlock::EEImage, (kG + 1) * kPageSize + at, m};
        case 'B':
            return {ImageBlock::LabelImage, AppState::labelIndex(kG, 15, 7), m};
    }
    return {ImageBlock::LabelImage, AppState::labelIndex(kG, 14, at), m};
}

// A list's entry chosen with the arrow keys, a text typed over, a button clicked.
void enter(QWidget* control, const QString& input) {
    if (auto* box = qobject_cast<QComboBox*>(control)) {
        const int n = box->findText(input);
        QVERIFY2(n >= 0, qPrintable(input));
        QTest::keyClick(box, Qt::Key_Home);
        for (int i = 0; i < n; ++i) QTest::keyClick(box, Qt::Key_Down);
    } else if (auto* text = qobject_cast<QLineEdit*>(control)) {
        text->selectAll();
        typeKeys(text, input);
    } else {
        QTest::mouseClick(control, Qt::LeftButton);
    }
}

QString shown(const QWidget* control) {
    if (auto* box = qobject_cast<const QComboBox*>(control)) return box->currentText();
    if (auto* text = qobject_cast<const QLineEdit*>(control)) return text->text();
    return static_cast<const QAbstractButton*>(control)->isChecked() ? "1" : "0";
}

// The main window on group kG, with the global parameters window beside it.
struct Windows : UiRig {
    QWidget owner;
    frmGlobals* globals = nullptr;

    Windows() {
        open();
        selectGroup(kG);
        globals = new frmGlobals(state, *settings, prompter, clock, &owner);
        showGlobals();
    }
    void showGlobals() {
        globals->showGlobals();
        QCoreApplication::processEvents();  // the opening pause
    }
    const FieldBindings& bindings(char window) const {
        return window == 'u' ? globals->fields() : *w->GroupFields;
    }
};

}  // namespace

class TestFieldBinding : public QObject {
    Q_OBJECT

private slots:
    void everyBoundControlHasARow() {
        Windows r;
        QStringList bound, rows;
        for (const char window : {'g', 'u'})
            for (const QString& key : r.bindings(window).keys()) bound << window + key;
        for (const Row& row : kRows) rows << row.window + QString(row.key);
        rows.removeDuplicates();
        bound.sort();
        rows.sort();
        QCOMPARE(rows, bound);
    }

    void controlStoresItsBitsOnly_data() {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(kRows)); ++i)
            QTest::addRow("%s %s", kRows[i].key, kRows[i].object) << i;
    }
    void controlStoresItsBitsOnly() {
        QFETCH(int, row);
        const Row& x = kRows[row];
        Windows r;
        QWidget* window = x.window == 'u' ? static_cast<QWidget*>(r.globals) : r.w.get();
        auto* control = window->findChild<QWidget*>(x.object);
        QVERIFY(control);
        QSignalSpy edits(&r.bindings(x.window), &FieldBindings::edited);
        AppState before = r.state;
        enter(control, x.input);
        const QString entered = shown(control);
        if (x.window == 'u') {
            r.prompter.answers = {MsgResult::No};  // "Save Global Parameters?" after the save
            r.globals->mnuSave->trigger();
        } else {
            r.selectGroup(kG + 1);
        }

        AllowedBits ok;
        QString stored, was;
        const int count = x.where == 'L' ? 8 : QString(x.bytes).size() / 2;
        for (int i = 0; i < count; ++i) {
            const ImageBits b = place(x.where, x.at + i, i ? 0xFF : x.mask);
            ok.add(b);
            stored += QString::asprintf("%02X", byteAt(r.state, b) & b.mask);
            was += QString::asprintf("%02X", byteAt(before, b) & b.mask);
        }
        const bool changes = QString(x.bytes) != "-";
        QCOMPARE(stored, changes ? QString(x.bytes) : was);
        QVERIFY(was != stored || !changes);  // the row tries a value the radio did not hold
        QCOMPARE(strayChanges(before, r.state, ok), QString());
        QCOMPARE(!edits.isEmpty(), changes);
        QVERIFY(edits.isEmpty() || edits.last().first().toString() == x.key);

        edits.clear();
        if (x.window == 'u')
            r.showGlobals();
        else
            r.selectGroup(kG);
        QCOMPARE(shown(control), entered);
        QVERIFY(edits.isEmpty());  // showing is no edit
    }
};

TAV_TEST(TestFieldBinding);
#include "tst_fieldbinding.moc"
