#include <QtTest>
#include <functional>

#include "Fixtures.h"
#include "TestMain.h"
#include "model/ImageDiff.h"

using namespace tav;
using namespace tav::test;
using Change = std::function<void(AppState&)>;
Q_DECLARE_METATYPE(Change)

class TestImageDiff : public QObject {
    Q_OBJECT

private slots:
    void equalImagesGiveNoLines() {
        QVERIFY(CompareImages(defaultImage(), defaultImage()).isEmpty());
        QVERIFY(CompareImages(AppState(), AppState()).isEmpty());
    }

    // The names and keys of a listing and a comparison, in order: the unit's,
    // a group's, a channel's; group 15's channels have no Low Power.
    void fieldNamesAndKeys() {
        QStringList unit, group, channel;
        int lastChannel = 0;
        for (const RadioField& f : ListRadioFields(defaultImage())) {
            const QString nameKey = f.name + "=" + f.key;
            if (f.group < 0) unit << nameKey;
            if (f.group == 0 && f.channel < 0) group << nameKey;
            if (f.group == 0 && f.channel == 0) channel << nameKey;
            if (f.group == 14 && f.channel == 13) ++lastChannel;
        }
        QCOMPARE(unit.join(", "),
                 "Single Tone Deviation=dtmf_deviation, Front Porch Time=front_porch_time, ANI "
                 "Rate=ani_rate, Priority Rate=priority_rate, Global Battery "
                 "Saver=global_battery_saver, Display Frequencies Only=display_frequencies_only, "
                 "Per Channel Bandwidth=per_channel_bandwidth, Bank Scan=bank_scan, "
                 "Password=password");
        QCOMPARE(group.join(", "),
                 "Label=label, Scan Hold Time=scan_hold_time, Time Out Timer=time_out_timer, "
                 "ANI/ID Number=ani_id, Priority Mode=priority_mode, Priority "
                 "Channel=priority_channel, Priority Key Lockout=priority_key_lockout, ENT/CLR Key "
                 "Lockout=ent_clr_key_lockout, Battery Saver=battery_saver, User Code "
                 "Guard=user_code_guard, User Code Guard Channel=ucg_channel, User Code Guard "
                 "Encode Only=ucg_encode_only, Busy Channel Indicator=busy_channel_indicator, "
                 "Resident ANI/DTMF=resident_ani_dtmf, Alpha Enabled=alpha_enabled, Backlight "
                 "Timeout=backlight_timeout, Backlight on Channel Change=backlight_channel_change, "
                 "Backlight on Scan State Change=backlight_scan_state_change, Backlight on Other "
                 "Display=backlight_other_display, Backlight on Keypress=backlight_keypress");
        QCOMPARE(channel.join(", "),
                 "Rx Freq=rx_freq, Rx CG=rx_cg, Tx Freq=tx_freq, Tx CG=tx_cg, Label=label, "
                 "Scan=scan, Narrow=narrow, Low Power=low_power");
        QCOMPARE(lastChannel, 7);
    }

    // One change in each kind of place; the lines must name exactly it.
    void oneChangeGivesExactlyItsLines_data() {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QStringList>("lines");
        const auto row = [](const char* name, Change c, QStringList lines) {
            QTest::newRow(name) << c << lines;
        };
        row("unit list field", [](AppState& s) { s.EEImage[6] ^= 0x08; },
            {"unit Priority Rate: .25 -> .5"});
        row("unit password", [](AppState& s) { s.EEImage[13] = 0x5A; },
            {"unit Password: 000000 -> 00005A"});
        row("undecoded EEPROM byte", [](AppState& s) { s.EEImage[9] = 0x12; },
            {"byte 0x009: 0x00 -> 0x12"});
        row("undecoded bit of a decoded byte", [](AppState& s) { s.EEImage[6] ^= 0x02; },
            {"byte 0x006: 0x00 -> 0x02"});
        row("field and undecoded bit in one byte", [](AppState& s) { s.EEImage[6] ^= 0x0A; },
            {"unit Priority Rate: .25 -> .5", "byte 0x006: 0x00 -> 0x0A"});
        row("group byte 8 bits 6 to 4", [](AppState& s) { groupByte(s, 1, 8) ^= 0x10; },
            {"byte 0x108: 0x00 -> 0x10"});
        row("file-only element 2048", [](AppState& s) { s.EEImage[2048] = 7; },
            {"byte 0x800: 0x00 -> 0x07"});
        row("group parameter", [](AppState& s) { groupByte(s, 2, 2) = 0x35; },
            {"group 3 Scan Hold Time: 0.0 -> 1.5", "group 3 Time Out Timer: OFF -> 75"});
        row("group label", [](AppState& s) { s.label(1, 14, 0) = 0x22; },  // code 17: H
            {"group 2 Label: \"GROUP 2 \" -> \"HROUP 2 \""});
        row("backlight bit", [](AppState& s) { s.label(0, 15, 7) ^= 0x10; },
            {"group 1 Backlight on Keypress: 0 -> 1"});
        row("rx frequency", [](AppState& s) { groupByte(s, 2, 16 + 8 * 4 + 1) ^= 0x01; },
            {"group 3 channel 5 Rx Freq: 162.42000 -> 162.43000"});
        row("tx channel guard", [](AppState& s) { groupByte(s, 0, 16 + 6) = 0x01; },
            {"group 1 channel 1 Tx CG: 000.0 -> 010.0"});
        row("channel label", [](AppState& s) { s.label(0, 13, 7) = 0x02; },
            {"group 1 channel 14 Label: \"Ch  14  \" -> \"Ch  14 1\""});
        row("scan bit of channel 14", [](AppState& s) { groupByte(s, 0, 0) ^= 0x20; },
            {"group 1 channel 14 Scan: 0 -> 1"});
        row("narrow bit of group 15 channel 1", [](AppState& s) { s.EEImage[65] ^= 0x01; },
            {"group 15 channel 1 Narrow: 0 -> 1"});
        row("power bit of group 14 channel 9", [](AppState& s) { s.PowerMask[13] ^= 0x01; },
            {"group 14 channel 9 Low Power: 0 -> 1"});
        row("power bit of group 15", [](AppState& s) { s.PowerMask[29] ^= 0x01; },
            {"power byte 0x1D: 0xFF -> 0xFE"});
        row("unused label cell", [](AppState& s) { s.label(0, 15, 0) = 0x01; },
            {"label byte 0x0F0: 0x00 -> 0x01"});
        // Changes the fields cannot show: the bytes still differ.
        row("priority channel 15 and 14 both read Ch 1",
            [](AppState& s) { groupByte(s, 0, 3) = 0x0E; }, {"byte 0x083: 0x00 -> 0x0E"});
        row("digital code bit 3 is not examined", [](AppState& s) { groupByte(s, 0, 18) = 0x80; },
            {"group 1 channel 1 Rx CG: 000.0 -> D000"});
        row("no frequency either way", [](AppState& s) { groupByte(s, 0, 20) = 0xFF; },
            {"byte 0x094: 0x00 -> 0xFF"});
    }
    void oneChangeGivesExactlyItsLines() {
        QFETCH(Change, change);
        QFETCH(QStringList, lines);
        const AppState before = defaultImage();
        AppState after = before;
        change(after);
        QCOMPARE(CompareImages(before, after), lines);
    }

    // A radio read reaches the EEPROM, and the labels and power mask only
    // when they were read; the rest of the file cannot differ from it.
    void radioComparisonCoversWhatTheReadReached_data() {
        QTest::addColumn<bool>("labels");
        QTest::addColumn<bool>("power");
        QTest::addColumn<bool>("writeMask");
        QTest::addColumn<QStringList>("lines");
        const QString eeprom = "byte 0x009: 0x00 -> 0x01";
        const QString label = "group 1 channel 1 Label: \"Ch  1   \" -> \"1h  1   \"";
        const QString power = "group 1 channel 9 Low Power: 0 -> 1";
        QTest::newRow("EEPROM only") << false << false << false << QStringList{eeprom};
        QTest::newRow("with labels") << true << false << false << QStringList{label, eeprom};
        QTest::newRow("with power") << false << true << false << QStringList{power, eeprom};
        QTest::newRow("written bits only") << false << false << true << QStringList{};
    }
    void radioComparisonCoversWhatTheReadReached() {
        QFETCH(bool, labels);
        QFETCH(bool, power);
        QFETCH(bool, writeMask);
        QFETCH(QStringList, lines);
        const AppState file = defaultImage();
        AppState radio;  // a read fills the EEPROM, and the rest only when asked
        std::copy_n(file.EEImage.begin(), kEEPromSize, radio.EEImage.begin());
        radio.EEImage[9] = 1;
        if (labels) radio.LabelImage = file.LabelImage;
        radio.label(0, 0, 0) = 0x02;
        if (power) radio.PowerMask = file.PowerMask;
        radio.PowerMask[0] = 0xFE;
        RadioReach reach;
        reach.labels = labels;
        reach.powerMask = power;
        if (writeMask) {
            reach.eepromBits.assign(kEEPromSize, 0xFF);
            reach.eepromBits[9] = 0xFE;  // the one changed bit is not writable
        }
        QCOMPARE(CompareWithRadio(file, radio, reach), lines);
    }

    // Every single bit of the file shows, as a field or by address.
    void everyBitFlipIsReported() {
        const AppState base = defaultImage();
        const auto check = [&](const char* block, int index, uint8_t& (*at)(AppState&, int)) {
            const int bit = (index + index / 8) % 8;
            AppState changed = base;
            at(changed, index) ^= uint8_t(1 << bit);
            if (CompareImages(base, changed).isEmpty())
                QFAIL(qPrintable(
                    QStringLiteral("%1[%2] bit %3 unreported").arg(block).arg(index).arg(bit)));
        };
        // Page 0, the first and the last group page (the others are laid out
        // alike), element 2048; the labels of the first and the unused
        // sixteenth group; the power block.
        std::vector<int> ee{kEEPromSize};
        for (int page : {0, 1, 15})
            for (int a = 0; a < kPageSize; ++a) ee.push_back(page * kPageSize + a);
        for (int i : ee)
            check("EEImage", i,
                  [](AppState& s, int k) -> uint8_t& { return s.EEImage[std::size_t(k)]; });
        for (int g : {0, 15})
            for (int slot = 0; slot < 16; ++slot)
                for (int k = 0; k < 8; ++k)
                    check("LabelImage", AppState::labelIndex(g, slot, k),
                          [](AppState& s, int i) -> uint8_t& {
                              return s.LabelImage[std::size_t(i)];
                          });
        for (int i = 0; i < kPowerMaskSize; ++i)
            check("PowerMask", i,
                  [](AppState& s, int k) -> uint8_t& { return s.PowerMask[std::size_t(k)]; });
    }
};

TAV_TEST_GUILESS(TestImageDiff);
#include "tst_imagediff.moc"
