#include <QtTest>

#include "Fixtures.h"
#include "TestMain.h"
#include "model/ImageDiff.h"

using namespace tav;
using namespace tav::test;

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

    // Name|change|lines: one change in each kind of place; the lines must name
    // exactly it. A change is the table (EEImage, LabelImage, PowerMask), a hex
    // index, then ^ (flip bits) or = (set) and a hex byte.
    void oneChangeGivesExactlyItsLines_data() {
        textRows(
            "unit list field|E006^08|unit Priority Rate: .25 -> .5;"
            "unit password|E00D=5A|unit Password: 000000 -> 00005A;"
            "undecoded EEPROM byte|E009=12|byte 0x009: 0x00 -> 0x12;"
            "undecoded bit of a decoded byte|E006^02|byte 0x006: 0x00 -> 0x02;"
            "field and undecoded bit in one byte|E006^0A|unit Priority Rate: .25 -> .5|"
            "byte 0x006: 0x00 -> 0x0A;"
            "group byte 8 bits 6 to 4|E108^10|byte 0x108: 0x00 -> 0x10;"
            "file-only element 2048|E800=07|byte 0x800: 0x00 -> 0x07;"
            "group parameter|E182=35|group 3 Scan Hold Time: 0.0 -> 1.5|"
            "group 3 Time Out Timer: OFF -> 75;"
            "group label|LE1=22|group 2 Label: \"GROUP 2 \" -> \"HROUP 2 \";"
            "backlight bit|L7F0^10|group 1 Backlight on Keypress: 0 -> 1;"
            "rx frequency|E1B1^01|group 3 channel 5 Rx Freq: 162.42000 -> 162.43000;"
            "tx channel guard|E096=01|group 1 channel 1 Tx CG: 000.0 -> 010.0;"
            "channel label|L7D0=02|group 1 channel 14 Label: \"Ch  14  \" -> \"Ch  14 1\";"
            "scan bit of channel 14|E080^20|group 1 channel 14 Scan: 0 -> 1;"
            "narrow bit of group 15 channel 1|E041^01|group 15 channel 1 Narrow: 0 -> 1;"
            "power bit of group 14 channel 9|P0D^01|group 14 channel 9 Low Power: 0 -> 1;"
            "power bit of group 15|P1D^01|power byte 0x1D: 0xFF -> 0xFE;"
            "unused label cell|LF0=01|label byte 0x0F0: 0x00 -> 0x01;"
            // Changes the fields cannot show: the bytes still differ.
            "priority channel 15 and 14 both read Ch 1|E083=0E|byte 0x083: 0x00 -> 0x0E;"
            "digital code bit 3 is not examined|E092=80|group 1 channel 1 Rx CG: 000.0 -> D000;"
            "no frequency either way|E094=FF|byte 0x094: 0x00 -> 0xFF");
    }
    void oneChangeGivesExactlyItsLines() {
        QFETCH(QStringList, row);
        const AppState before = defaultImage();
        AppState after = before;
        const QString change = row[1];
        const int at = change.mid(1, change.size() - 4).toInt(nullptr, 16);
        const auto value = uint8_t(change.right(2).toInt(nullptr, 16));
        uint8_t& b = change[0] == u'E'   ? after.EEImage[std::size_t(at)]
                     : change[0] == u'L' ? after.LabelImage[std::size_t(at)]
                                         : after.PowerMask[std::size_t(at)];
        b = change[change.size() - 3] == u'^' ? uint8_t(b ^ value) : value;
        QCOMPARE(CompareImages(before, after), row.mid(2));
    }

    // A radio read reaches the EEPROM, and the labels and power mask only
    // when they were read; the rest of the file cannot differ from it.
    void radioComparisonCoversWhatTheReadReached() {
        const QString eeprom = "byte 0x009: 0x00 -> 0x01";
        const QString label = "group 1 channel 1 Label: \"Ch  1   \" -> \"1h  1   \"";
        const QString power = "group 1 channel 9 Low Power: 0 -> 1";
        // labels read, power mask read, only the written bits compared; the lines
        for (const auto& [labels, powerRead, writeMask, lines] :
             {std::tuple{false, false, false, QStringList{eeprom}},
              {true, false, false, {label, eeprom}},
              {false, true, false, {power, eeprom}},
              {false, false, true, {}}}) {
            const AppState file = defaultImage();
            AppState radio;  // a read fills the EEPROM, and the rest only when asked
            std::copy_n(file.EEImage.begin(), kEEPromSize, radio.EEImage.begin());
            radio.EEImage[9] = 1;
            if (labels) radio.LabelImage = file.LabelImage;
            radio.label(0, 0, 0) = 0x02;
            if (powerRead) radio.PowerMask = file.PowerMask;
            radio.PowerMask[0] = 0xFE;
            RadioReach reach;
            reach.labels = labels;
            reach.powerMask = powerRead;
            if (writeMask) {
                reach.eepromBits.assign(kEEPromSize, 0xFF);
                reach.eepromBits[9] = 0xFE;  // the one changed bit is not writable
            }
            QCOMPARE(CompareWithRadio(file, radio, reach), lines);
        }
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
