#include <QtTest>

#include "ModelFixtures.h"
#include "TestMain.h"
#include "model/ControlLists.h"
#include "model/MemoryGrid.h"
#include "model/clsGroup.h"

using namespace tav;
using namespace tav::test;
Q_DECLARE_METATYPE(FieldPin<GroupControls>)

namespace {
constexpr int kG = 5;  // the group the field pins use: page 6

struct GroupRig {
    AppState state;
    GroupControls controls;
    MemoryGrid grid;
    std::unique_ptr<clsGroup> group;
    int g;

    explicit GroupRig(int index, AppState s = AppState()) : state(s), g(index) {}
    clsGroup& make() {
        state.NewGroupIndex = int16_t(g);
        group = std::make_unique<clsGroup>(state, controls, grid);
        return *group;
    }
    uint8_t& ee(int address) { return groupByte(state, g, address); }
};

GroupControls readGroupControls(AppState& s) {
    GroupRig r(kG, s);
    r.make().Read_Group();
    return r.controls;
}

Pins<GroupControls> groupPins() {
    Pins<GroupControls> pins;
    const auto pin = [&](const char* name, void (clsGroup::*write)(), const char* key,
                         const QStringList& entries, int address, int mask, const QString& bytes) {
        const auto [set, get] = access<GroupControls>(key);
        const ImageBits bits =
            address < 0
                ? ImageBits{ImageBlock::LabelImage, AppState::labelIndex(kG, 15, 7), uint8_t(mask)}
                : ImageBits{ImageBlock::EEImage, (kG + 1) * kPageSize + address, uint8_t(mask)};
        pins.append({name, set, get,
                     [write](AppState& s, GroupControls& c) {
                         GroupRig r(kG);
                         std::swap(r.state, s);
                         r.controls = c;
                         (r.make().*write)();
                         std::swap(r.state, s);
                     },
                     entries, bits, bytes});
    };
    const int backlight = -1;
    pin("scan hold", &clsGroup::Write_TOT_Scan, "scan_hold_time", lists::scanHoldTimes(), 2, 0xF0,
        "0.0=00|0.5=10|1.0=20|1.5=30|2.0=40|2.5=50|3.0=60|3.5=70|4.0=80|4.5=90|5.0=A0|5.5=B0|"
        "6.0=C0|6.5=D0|7.0=E0|7.5=F0");
    pin("time-out", &clsGroup::Write_TOT_Scan, "time_out_timer", lists::timeOutTimes(), 2, 0x0F,
        "OFF=00|15=01|30=02|45=03|60=04|75=05|90=06|105=07|120=08|135=09|150=0A|165=0B|180=0C|"
        "195=0D|210=0E|225=0F");
    pin("busy channel", &clsGroup::Write_Busy_Channel_Indicate, "busy_channel_indicator",
        lists::busyChannel(), 4, 0xC0, "OFF=00|Indicate=40|Override=80|Lockout=C0");
    pin("ANI/DTMF", &clsGroup::Write_ANI_DTMF, "resident_ani_dtmf", lists::aniDtmf(), 4, 0x30,
        "OFF=00|DTMF Only=10|ANI Only=20|DTMF w/ manual ANI=30");
    pin("priority channel", &clsGroup::Write_Priority, "priority_channel",
        lists::priorityChannels(), 3, 0x0F,
        "Ch 1=00|Ch 2=01|Ch 3=02|Ch 4=03|Ch 5=04|Ch 6=05|Ch 7=06|Ch 8=07|Ch 9=08|Ch 10=09|"
        "Ch 11=0A|Ch 12=0B|Ch 13=0C|Ch 14=0D");
    pin("priority mode", &clsGroup::Write_Priority, "priority_mode", {"A", "D", "B", "C"}, 3, 0xC0,
        "A=00|D=40|B=80|C=C0");
    pin("UCG channel", &clsGroup::Write_UCG_Chan, "ucg_channel", lists::ucgChannels(), 8, 0x0F,
        "OFF=00|1=01|2=02|3=03|4=04|5=05|6=06|7=07|8=08|9=09|10=0A|11=0B|12=0C|13=0D|14=0E");
    pin("backlight timeout", &clsGroup::Write_Group_Backlight, "backlight_timeout",
        lists::backlightTimeouts(), backlight, 0x0E,
        "Always Off=00|1 Second=02|2 Seconds=04|3 Seconds=06|4 Seconds=08|5 Seconds=0A|"
        "6 Seconds=0C|Always On=0E");
    pin("battery saver", &clsGroup::Write_Battery_Saver, "battery_saver", {"On", "Off"}, 0, 0x80,
        "On=00|Off=80");
    pin("UCG enabled", &clsGroup::Write_UCG_Enable, "user_code_guard", {"Disabled", "Enabled"}, 0,
        0x40, "Disabled=00|Enabled=40");
    const auto check = [&](const char* name, void (clsGroup::*write)(), const char* m, int address,
                           const char* bit) {
        pin(name, write, m, {"0", "1"}, address, QByteArray::fromHex(bit)[0],
            QStringLiteral("0=00|1=") + bit);
    };
    const auto kl = &clsGroup::Write_Keyboard_Lockouts;
    check("priority key lockout", kl, "priority_key_lockout", 3, "20");
    check("ENT/CLR lockout", kl, "ent_clr_key_lockout", 3, "10");
    check("UCG encode only", &clsGroup::Write_UCG_Encode, "ucg_encode_only", 8, "80");
    const auto bl = &clsGroup::Write_Group_Backlight;
    check("alpha enabled", bl, "alpha_enabled", backlight, "01");
    check("backlight keypress", bl, "backlight_keypress", backlight, "10");
    check("backlight other", bl, "backlight_other_display", backlight, "20");
    check("backlight scan state", bl, "backlight_scan_state_change", backlight, "40");
    check("backlight channel", bl, "backlight_channel_change", backlight, "80");
    return pins;
}

// A random image whose group parameters all decode to a list entry.
AppState decodableImage(quint32 seed) {
    AppState s = randomImage(seed);
    for (int g = 0; g < kGroupCount; ++g) {
        groupByte(s, g, 3) &= 0xF7;  // priority channel 8 at most
        groupByte(s, g, 8) &= 0xF7;  // UCG channel 8 at most
    }
    return s;
}

GroupControls randomControls(QRandomGenerator& rng) {
    GroupControls c;
    for (const auto& p : groupPins()) p.set(c, rng.bounded(int(p.entries.size())));
    c.fields.setText(
        "ani_id",
        QStringLiteral("%1").arg(rng.bounded(0x10000000), 7, 16, QLatin1Char('0')).toUpper());
    c.fields.setText("label",
                     QStringLiteral("G%1-LBL").arg(rng.bounded(100), 2, 10, QLatin1Char('0')));
    for (auto* boxes : {&c.chkScan, &c.chkNarr, &c.chkLoPower})
        for (int& v : *boxes) v = rng.bounded(2);
    return c;
}

void randomRows(QRandomGenerator& rng, MemoryGrid& grid) {
    for (int c = 0; c < kChannelsPerGroup; ++c) {
        const int f = 10000000 + rng.bounded(8000) * 1000 + (rng.bounded(2) ? 500 : 0);
        grid.setCellText(
            1, c, QStringLiteral("%1.%2").arg(f / 100000).arg(f % 100000, 5, 10, QLatin1Char('0')));
        grid.setCellText(2, c, QStringLiteral("D%1").arg(rng.bounded(512), 3, 8, QLatin1Char('0')));
        grid.setCellText(3, c, rng.bounded(4) ? "162.55000" : "none");
        grid.setCellText(4, c,
                         QStringLiteral("%1.0").arg(rng.bounded(800), 3, 10, QLatin1Char('0')));
        grid.setCellText(5, c,
                         QStringLiteral("CH%1 %2").arg(c).arg(rng.bounded(1000)).leftJustified(8));
    }
}

QList<int> values(const GroupControls& c, bool withPower) {
    QList<int> v;
    for (const auto& p : groupPins()) v << p.get(c);
    for (int i = 0; i < kChannelsPerGroup; ++i)
        v << c.chkScan[std::size_t(i)] << c.chkNarr[std::size_t(i)]
          << (withPower ? c.chkLoPower[std::size_t(i)] : 0);
    return v;
}
}  // namespace

class TestClsGroup : public QObject {
    Q_OBJECT

private slots:
    // Every entry of every list and check box, with its byte worked out by hand.
    void fieldEntriesAreTheirBytes_data() { addPinRows(groupPins()); }
    void fieldEntriesAreTheirBytes() {
        QFETCH(FieldPin<GroupControls>, pin);
        checkPin<GroupControls>(pin, decodableImage, readGroupControls);
    }

    // Channel numbers past the list read as its first entry: byte, priority, UCG.
    void channelNumbersOutOfRange() {
        for (const auto& [byte, priority, ucg] :
             {std::tuple{0xFF, 0, 0}, {0x0E, 0, 14}, {0x0D, 13, 13}}) {
            AppState s;
            groupByte(s, kG, 3) = groupByte(s, kG, 8) = uint8_t(byte);
            const GroupControls c = readGroupControls(s);
            QCOMPARE(
                QList<int>({c.fields.number("priority_channel"), c.fields.number("ucg_channel")}),
                QList<int>({priority, ucg}));
        }
    }

    // Text|bytes 3 to 8 over A5 (the low nibble of 4, then 5, 6, 7)|read back.
    void idNumber_data() {
        textRows(
            "12AB|A5A00012ABA5|00012AB;1234567|A5A1234567A5|1234567;"
            "ABCDEFF1|A5AABCDEFFA5|ABCDEFF;|A5A0000000A5|0000000;12X4|A5A0001204A5|0001204");
    }
    void idNumber() {
        QFETCH(QStringList, row);
        GroupRig r(6);
        r.state.EEImage.fill(0xA5);
        clsGroup& grp = r.make();
        r.controls.fields.setText("ani_id", row[0]);
        grp.Write_ID_Num();
        QCOMPARE(hexBytes(&r.ee(3), 6), row[1].toLatin1());
        grp.Read_ID_Num();
        QCOMPARE(r.controls.fields.text("ani_id") + grp.idText(), row[2] + row[2]);
    }

    void blankGroupLabelRoundTrip() {
        GroupRig r(3);
        r.state.LabelImage.fill(0xFF);
        clsGroup& grp = r.make();
        grp.Read_Group_Label();
        QCOMPARE(r.controls.fields.text("label"), QStringLiteral(" BLANK  "));
        grp.Write_Group_Label();
        QCOMPARE(int(r.state.label(3, 14, 1)), 0x16);  // "B"
        QCOMPARE(int(r.state.label(3, 14, 7)), 0x60);
        r.controls.fields.setText("label", QString());
        grp.Read_Group_Label();
        QCOMPARE(grp.groupLabelText(), QStringLiteral(" BLANK  "));
    }

    // Writing a whole group touches only its own bits, and reading it back
    // gives the same controls and grid.
    void writeGroupIsMaskedAndRoundTrips_data() {
        QTest::addColumn<int>("group");
        for (int g : {0, 6, 13, 14}) QTest::addRow("group index %d", g) << g;
    }
    void writeGroupIsMaskedAndRoundTrips() {
        QFETCH(int, group);
        for (quint32 seed = 1; seed <= 5; ++seed) {
            GroupRig r(group, randomImage(seed));
            QRandomGenerator rng(seed + 1000);
            r.controls = randomControls(rng);
            randomRows(rng, r.grid);
            const GroupControls written = r.controls;
            MemoryGrid writtenGrid = r.grid;
            const AppState before = r.state;
            clsGroup& grp = r.make();
            grp.Write_Group();

            AllowedBits ok;
            for (int a = 0; a < kPageSize; ++a)  // not bits 6-4 of byte 8, nor bytes 9 to 15
                if (a < 9 || a > 15) ok.eeBits(group + 1, a, a == 8 ? 0x8F : 0xFF);
            ok.eeBits(0, 36 + 2 * group, 0x3F).eeBits(0, 37 + 2 * group, 0xFF);
            for (int slot = 0; slot <= 14; ++slot)
                for (int k = 0; k < 8; ++k) ok.labelBits(group, slot, k, 0xFF);
            ok.labelBits(group, 15, 7, 0xFF);
            if (group <= 13)
                ok.add({ImageBlock::PowerMask, group, 0x3F})
                    .add({ImageBlock::PowerMask, group + 15, 0xFF});
            QCOMPARE(strayChanges(before, r.state, ok), QString());

            r.controls = GroupControls();
            r.grid.clear();
            grp.Read_Group();
            QCOMPARE(values(r.controls, group <= 13), values(written, group <= 13));
            QCOMPARE(r.controls.fields.text("ani_id"), written.fields.text("ani_id"));
            QCOMPARE(r.controls.fields.text("label"),
                     written.fields.text("label").leftJustified(8));
            for (int c = 0; c < 14; ++c)
                for (int col = 1; col <= 5; ++col)
                    QCOMPARE(r.grid.cellText(col, c), writtenGrid.cellText(col, c));
        }
    }

    void labelsOnlyReadTouchesOnlyLabels() {
        GroupRig r(8, randomImage(21));
        clsGroup& grp = r.make();
        for (int c = 0; c < 14; ++c)
            for (int col = 1; col <= 4; ++col) r.grid.setCellText(col, c, "keep");
        r.controls.fields.setText("ani_id", "keep");
        r.controls.fields.setNumber("time_out_timer", 9);
        grp.Read_Labels_Only();
        QCOMPARE(r.controls.fields.text("ani_id") + r.grid.cellText(1, 0) +
                     QString::number(r.controls.fields.number("time_out_timer")),
                 "keepkeep9");
        QCOMPARE(r.controls.fields.number("backlight_timeout"),
                 (r.state.label(8, 15, 7) & 0x0E) >> 1);
        for (int c = 0; c < 14; ++c) QCOMPARE(r.grid.cellText(5, c), grp.channel(c).labelText());
    }
};

TAV_TEST_GUILESS(TestClsGroup);
#include "tst_clsgroup.moc"
