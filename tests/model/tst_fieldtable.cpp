// The field table over every field: each value of its kind round trips
// through the image inside the field's bits, the printout says the same
// value in its own words, and the write masks derived from the editable
// fields are the radio's, bit for bit. The expected places and masks are
// worked out by hand, never read from the table under test.
#include <QtTest>
#include <bit>

#include "Fixtures.h"
#include "TestMain.h"
#include "model/FieldTable.h"
#include "print/UnitReport.h"

using namespace tav;
using namespace tav::test;

namespace {

// Values of each kind to store, beside every entry of a list.
QStringList valuesOf(const FieldDef& f) {
    switch (f.type) {
        case FieldType::List: {
            QStringList l;
            for (const QString& e : f.entries) l << e.trimmed();
            return l;
        }
        case FieldType::Check:
            return {"0", "1"};
        case FieldType::HexDigits:
            return HexDigitCount(f) == 7 ? QStringList{"0000000", "F0A0012", "1234567"}
                                         : QStringList{"000000", "ABCDEF", "120034"};
        case FieldType::Frequency:
            return {"none", "155.12500", "143.00625", "173.99375", "162.41250"};
        case FieldType::ChannelGuard:
            return {"067.0", "250.3", "D023", "D754-"};
        case FieldType::Label:
            return {"GROUP 15", "CH.1 h   ", "A.B.C.D.1234"};
    }
    return {};
}

// The places a field of its scope is checked at: the first and last group and channel.
QList<QPair<int, int>> placesOf(const FieldDef& f) {
    switch (f.scope) {
        case FieldScope::Unit:
            return {{-1, -1}};
        case FieldScope::Group:
            return {{0, -1}, {14, -1}};
        case FieldScope::Channel:
            return {{0, 0}, {0, 13}, {13, 7}, {14, 8}};
    }
    return {};
}

// The printout's lines of the unit block, or of group 2's block.
QString printedBlock(const AppState& s, FieldScope scope) {
    const QStringList lines = BuildUnitReport(s, QString()).plainLines();
    const auto at = [&](const char* heading) {
        for (int i = 0; i < lines.size(); ++i)
            if (lines[i].trimmed() == QLatin1String(heading)) return i;
        return -1;
    };
    const int from = scope == FieldScope::Unit ? 0 : at("Group 2 Data");
    const int to = scope == FieldScope::Unit ? at("Group 1 Data") : at("Group 3 Data");
    return lines.mid(from, to - from).join(u'\n');
}

}  // namespace

class TestFieldTable : public QObject {
    Q_OBJECT

private slots:
    // Keys are the dump's published names: each once per scope, in dump order.
    void keysAreTheDumpsKeys() {
        QStringList keys[3];
        for (const FieldDef& f : FieldTable()) keys[int(f.scope)] << QString::fromLatin1(f.key);
        QCOMPARE(keys[0].join(' '),
                 "dtmf_deviation front_porch_time ani_rate priority_rate global_battery_saver "
                 "display_frequencies_only per_channel_bandwidth bank_scan password");
        QCOMPARE(keys[1].join(' '),
                 "label scan_hold_time time_out_timer ani_id priority_mode priority_channel "
                 "priority_key_lockout ent_clr_key_lockout battery_saver user_code_guard "
                 "ucg_channel ucg_encode_only busy_channel_indicator resident_ani_dtmf "
                 "alpha_enabled backlight_timeout backlight_channel_change "
                 "backlight_scan_state_change backlight_other_display backlight_keypress");
        QCOMPARE(keys[2].join(' '), "rx_freq rx_cg tx_freq tx_cg label scan narrow low_power");
    }

    // Where a field's bits are, worked out by hand from the memory layout.
    void bitsSitWhereTheRadioKeepsThem_data() {
        QTest::addColumn<int>("scope");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("channel");
        QTest::addColumn<QString>("bits");  // "block:index/mask ..." (E, L, P)
        const auto row = [](const char* name, FieldScope s, const char* key, int g, int c,
                            const char* bits) {
            QTest::newRow(name) << int(s) << QString(key) << g << c << QString(bits);
        };
        row("deviation", FieldScope::Unit, "dtmf_deviation", -1, -1, "E:7/F8");
        row("bandwidth", FieldScope::Unit, "per_channel_bandwidth", -1, -1, "E:6/04");
        row("display", FieldScope::Unit, "display_frequencies_only", -1, -1, "E:104/80");
        row("password", FieldScope::Unit, "password", -1, -1, "E:11/FF E:12/FF E:13/FF");
        row("tot group 3", FieldScope::Group, "time_out_timer", 2, -1, "E:386/0F");
        row("ani id group 1", FieldScope::Group, "ani_id", 0, -1,
            "E:132/0F E:133/FF E:134/FF E:135/FF");
        row("priority mode", FieldScope::Group, "priority_mode", 14, -1, "E:1923/C0");
        row("ucg channel", FieldScope::Group, "ucg_channel", 1, -1, "E:264/0F");
        row("timeout group 2", FieldScope::Group, "backlight_timeout", 1, -1, "L:2033/0E");
        row("group label 15", FieldScope::Group, "label", 14, -1,
            "L:238/FF L:494/FF L:750/FF L:1006/FF L:1262/FF L:1518/FF L:1774/FF L:2030/FF");
        row("tx cg g1 c14", FieldScope::Channel, "tx_cg", 0, 13, "E:254/FF E:255/FF");
        row("scan c14", FieldScope::Channel, "scan", 4, 13, "E:640/20");
        row("scan c1", FieldScope::Channel, "scan", 4, 0, "E:641/01");
        row("narrow g3 c9", FieldScope::Channel, "narrow", 2, 8, "E:40/01");
        row("narrow g15 c8", FieldScope::Channel, "narrow", 14, 7, "E:65/80");
        row("low power g2 c10", FieldScope::Channel, "low_power", 1, 9, "P:1/02");
        row("low power g14 c1", FieldScope::Channel, "low_power", 13, 0, "P:28/01");
    }
    void bitsSitWhereTheRadioKeepsThem() {
        QFETCH(int, scope);
        QFETCH(QString, key);
        QFETCH(int, group);
        QFETCH(int, channel);
        QFETCH(QString, bits);
        const FieldDef* f = FindField(FieldScope(scope), key);
        QVERIFY(f);
        QStringList got;
        for (const ImageBits& b : FieldBits(*f, group, channel))
            got << QStringLiteral("%1:%2/%3")
                       .arg(QChar("ELP"[int(b.block)]))
                       .arg(b.index)
                       .arg(b.mask, 2, 16, QChar('0'))
                       .toUpper();
        QCOMPARE(got.join(' '), bits);
    }

    // Every value of every field, over random bytes: read back as stored, and
    // no bit outside the field's bits changed.
    void everyValueRoundTripsInsideItsBits() {
        int checked = 0;
        for (const FieldDef& f : FieldTable()) {
            for (const auto& [g, c] : placesOf(f)) {
                if (!FieldExists(f, g)) continue;
                AllowedBits ok;
                for (const ImageBits& b : FieldBits(f, g, c)) ok.add(b);
                for (const QString& v : valuesOf(f)) {
                    const AppState before = randomImage(quint32(++checked));
                    AppState s = before;
                    const QString what =
                        QStringLiteral("%1 at %2/%3 = %4").arg(f.key).arg(g).arg(c).arg(v);
                    QVERIFY2(WriteFieldValue(s, f, g, c, v), qPrintable(what));
                    QVERIFY2(ReadFieldValue(s, f, g, c) == v, qPrintable(what));
                    QVERIFY2(strayChanges(before, s, ok).isEmpty(), qPrintable(what));
                }
            }
        }
        QVERIFY(checked > 300);
        QVERIFY(!FieldExists(*FindField(FieldScope::Channel, "low_power"), 14));
    }

    // Each stored number of a unit or group field, as the printout words it
    // and as the dump (the window's words) gives it.
    void printoutAndDumpShowTheSameValue() {
        for (const FieldDef& f : FieldTable()) {
            if (f.scope == FieldScope::Channel || !*f.printCaption) continue;
            if (f.type != FieldType::List && f.type != FieldType::Check) continue;
            const ImageBits b = FieldBits(f, 1, -1).front();
            const int top = b.mask >> std::countr_zero(unsigned(b.mask));
            for (int n = 0; n <= top; ++n) {
                AppState s = defaultImage();
                byteAt(s, b) =
                    uint8_t((byteAt(s, b) & ~b.mask) | (n << std::countr_zero(unsigned(b.mask))));
                const int entry = n < f.entries.size() ? n : 0;
                const QString dump = ReadFieldValue(s, f, 1, -1);
                if (f.type == FieldType::List)
                    QCOMPARE(dump, f.entries[entry].trimmed());
                else
                    QCOMPARE(dump, QString::number(n));
                const QString printed =
                    f.printTexts.isEmpty() ? f.entries[entry] : f.printTexts.value(n);
                const QString want = QString::fromLatin1(f.printCaption) + printed;
                QVERIFY2(printedBlock(s, f.scope).contains(want), qPrintable(want));
            }
        }
    }

    // The radio's masks, worked out by hand: page 0 opens bits 7 and 6-3 and
    // 0 of byte 6, bytes 7, 11-13, the bandwidth pairs 36-65 and bit 7 of 104;
    // a group page all but bits 6-4 of byte 8 and bytes 9 to 15.
    void derivedWriteMasksAreTheRadios() {
        std::array<uint8_t, kPageSize> global{}, group{};
        global[6] = 0xF9;
        global[7] = 0xFF;
        global[11] = global[12] = global[13] = 0xFF;
        for (int a = 36; a <= 65; ++a) global[a] = 0xFF;
        global[104] = 0x80;
        group.fill(0xFF);
        group[8] = 0x8F;
        for (int a = 9; a <= 15; ++a) group[a] = 0x00;
        const WriteMasks m = DerivedWriteMasks();
        for (int a = 0; a < kPageSize; ++a) {
            QVERIFY2(m.global[a] == global[a], qPrintable(QString("page 0 byte %1").arg(a)));
            QVERIFY2(m.group[a] == group[a], qPrintable(QString("group byte %1").arg(a)));
        }
    }
};

TAV_TEST_GUILESS(TestFieldTable);
#include "tst_fieldtable.moc"
