// Bandwidth and power masks: the capability bit, the named-block directory,
// the power block, the warnings, and that a failed mask write never ends a
// block write in success.

#include "TestMain.h"
#include "XferSupport.h"

using namespace tav;
using namespace tav::test;

namespace {

const QString kBandwidthWarning =
    QStringLiteral("Warning: This radio is not factory configured\rfor per-channel bandwidth.");
const QString kPowerWarning =
    QStringLiteral("Warning: This radio is not factory configured\rfor per-channel power control.");

// A radio with an empty directory and no capability: each test adds what it needs.
void bareRadio(RadioRig& rig) {
    rig.radio.eeprom() = sim::defaultImage();
    for (int i = 0; i < sim::kDirectoryEntries; ++i) rig.radio.eeprom()[23 + 2 * i] = 0;
}

}  // namespace

class TestChannelMasks : public QObject {
    Q_OBJECT

private slots:
    void findSys_data() {
        QTest::addColumn<QList<int>>("entries");  // block start per entry, 0 for none
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("expected");
        QTest::newRow("entry 1 after an empty entry 0")
            << QList<int>{0, 1024} << QStringList{QString(), "VPWR"} << QString() << 1024;
        QTest::newRow("lower entry wins")
            << QList<int>{0, 0, 1536, 0, 1024} << QStringList{"", "", "VPWR", "", "VPWR"}
            << QString() << 1536;
        QTest::newRow("other names only")
            << QList<int>{1024, 1536} << QStringList{"UNIT", "VPWX"} << QString() << 0;
        QTest::newRow("no entries") << QList<int>{} << QStringList{} << QString() << 0;
        // Reply 1 is the identification byte; replies 2 and 3 the first entry.
        QTest::newRow("unreadable entry passed over")
            << QList<int>{1024, 1536} << QStringList{"VPWR", "VPWR"} << "drop-reply=2" << 1536;
        QTest::newRow("match whose entry cannot be read again")
            << QList<int>{1024} << QStringList{"VPWR"} << "drop-reply=10" << -1;
    }

    void findSys() {
        QFETCH(QList<int>, entries);
        QFETCH(QStringList, names);
        QFETCH(QString, fault);
        QFETCH(int, expected);
        RadioRig rig;
        bareRadio(rig);
        for (int i = 0; i < entries.size(); ++i)
            if (entries[i]) sim::placeNamedBlock(rig.radio.eeprom(), i, entries[i], names[i]);
        rig.radio.setFaults(faults(fault));
        QVERIFY(rig.hook());
        QCOMPARE(rig.com.find_sys(QStringLiteral("VPWR")), expected);
        QVERIFY(rig.prompter.shown.isEmpty());
    }

    void readPowerOneGroup() {
        RadioRig rig;
        rig.radio.eeprom() = sim::defaultImage();
        const int words = *sim::powerWordsAddress(rig.radio.eeprom());
        for (int i = 0; i < 30; ++i) rig.radio.eeprom()[words + i] = static_cast<uint8_t>(0x40 + i);
        rig.state.PowerMask.fill(0xEE);
        QVERIFY(rig.hook());
        rig.com.ReadPower(4);
        const Bytes wire = rig.radio.received();
        QCOMPARE(hex(Bytes(wire.end() - 2, wire.end())), hex(readCmd(words + 8)));
        QCOMPARE(rig.radio.replyCount(), 1 + 2 * 12);  // the lookup's eleven reads and one word
        for (int i = 0; i < 30; ++i) {
            const uint8_t expected = i == 4 ? 0x48 : i == 19 ? 0x49 : 0xEE;
            QCOMPARE(rig.state.PowerMask[i], expected);
        }
        QCOMPARE(rig.state.PowerBlockPresent, uint8_t{1});
    }

    void powerPresence_data() {
        QTest::addColumn<int>("nGroup");
        QTest::addColumn<bool>("block");
        QTest::addColumn<bool>("optionOn");
        QTest::addColumn<bool>("warned");
        QTest::newRow("presence check, no block") << -2 << false << true << false;
        QTest::newRow("all groups, no block, option on") << -1 << false << true << true;
        QTest::newRow("all groups, no block, option off") << -1 << false << false << false;
        QTest::newRow("one group, block") << 3 << true << true << false;
    }

    void powerPresence() {
        QFETCH(int, nGroup);
        QFETCH(bool, block);
        QFETCH(bool, optionOn);
        QFETCH(bool, warned);
        RadioRig rig;
        bareRadio(rig);
        if (block) sim::placePowerBlock(rig.radio.eeprom(), 2, 1952, 246);
        rig.state.PerChanPwrOn = optionOn;
        rig.state.PowerBlockPresent = block ? 0 : 1;
        QVERIFY(rig.hook());
        rig.com.ReadPower(static_cast<int16_t>(nGroup));
        QCOMPARE(rig.state.PowerBlockPresent, uint8_t{block});
        QCOMPARE(rig.prompter.shown.size(), warned ? 1 : 0);
        if (warned) {
            QCOMPARE(boxLine(rig.prompter.shown[0]),
                     boxLine(kPowerWarning, "Read Power", MsgButtons::Ok, MsgIcon::None));
        }
        // Writing to a radio without the block warns the same way, and leaves the flag alone.
        rig.prompter.shown.clear();
        rig.com.WritePower(static_cast<int16_t>(nGroup));
        QCOMPARE(rig.state.PowerBlockPresent, uint8_t{block});
        QCOMPARE(rig.prompter.shown.size(), warned ? 1 : 0);
        if (warned) QCOMPARE(rig.prompter.shown[0].title, QStringLiteral("Write Power"));
    }

    void bandwidthWord_data() {
        QTest::addColumn<bool>("capable");
        QTest::addColumn<bool>("write");
        QTest::newRow("read, capable") << true << false;
        QTest::newRow("read, not capable") << false << false;
        QTest::newRow("write, capable") << true << true;
        QTest::newRow("write, not capable") << false << true;
    }

    void bandwidthWord() {
        QFETCH(bool, capable);
        QFETCH(bool, write);
        RadioRig rig;
        bareRadio(rig);
        rig.radio.eeprom()[6] = capable ? 0x04 : 0xFB;
        rig.radio.eeprom()[40] = 0x12;
        rig.radio.eeprom()[41] = 0x34;
        rig.state.EEImage[40] = 0xAB;
        rig.state.EEImage[41] = 0xCD;
        rig.state.GlobalWriteMask[40] = rig.state.GlobalWriteMask[41] = 0;
        QVERIFY(rig.hook());
        if (write)
            rig.com.WriteBW(2);
        else
            rig.com.ReadBW(2);

        Bytes wire = readCmd(6);
        if (capable) append(wire, write ? writeCmd(40, 0xAB, 0xCD) : readCmd(40));
        QCOMPARE(hex(rig.radio.received()), hex(wire));
        const bool moved = capable;
        const uint8_t radio40 = write && moved ? 0xAB : 0x12;
        const uint8_t image40 = !write && moved ? 0x12 : 0xAB;
        QCOMPARE(rig.radio.eeprom()[40], radio40);
        QCOMPARE(rig.state.EEImage[40], image40);
        QCOMPARE(rig.prompter.shown.size(), capable ? 0 : 1);
        if (!capable) {
            QCOMPARE(rig.prompter.shown[0].text, kBandwidthWarning);
            QCOMPARE(rig.prompter.shown[0].title,
                     write ? QStringLiteral("Write Bandwidth") : QStringLiteral("Read Bandwidth"));
        }
    }

    void unreadableCapabilityClosesBandwidthBytes() {
        RadioRig rig;
        rig.radio.eeprom() = sim::defaultImage();
        fillImage(rig.state, 9);
        rig.radio.setFaults(faults("drop-reply=2"));  // the read of address 6

        QVERIFY(!rig.com.WriteEEGlobal());
        for (int a = 36; a < 66; ++a) QCOMPARE(rig.state.GlobalWriteMask[a], uint8_t{0});
        QCOMPARE(writesBetween(rig.radio, 36, 66), 0);
        QCOMPARE(writesBetween(rig.radio, 0, 128), 4);  // words 6, 10, 12 and 104 still go
        QCOMPARE(rig.prompter.texts(), QStringList{kWriteFailed});
    }

    void failedMaskWritesFailTheWrite_data() {
        QTest::addColumn<bool>("whole");
        QTest::addColumn<int>("dropEcho");
        QTest::addColumn<int>("powerWords");  // power words the radio received
        QTest::addColumn<int>("groupWords");  // group page words the radio received
        // A group write: 61 page words (echoes 1 to 122), the power word, the bandwidth word.
        QTest::newRow("group: power word") << false << 123 << 1 << 61;
        QTest::newRow("group: bandwidth word") << false << 126 << 1 << 61;
        // A whole write skipping the global block: 15 bandwidth words come first.
        QTest::newRow("skip global: bandwidth word") << true << 5 << 15 << 14 * 61;
        QTest::newRow("skip global: first power word") << true << 30 + 2 * 854 + 1 << 15 << 14 * 61;
    }

    void failedMaskWritesFailTheWrite() {
        QFETCH(bool, whole);
        QFETCH(int, dropEcho);
        QFETCH(int, powerWords);
        QFETCH(int, groupWords);
        RadioRig rig;
        rig.radio.eeprom() = sim::defaultImage();
        fillImage(rig.state, 10);
        rig.state.PerChanBandOn = true;
        rig.radio.setFaults(faults(QStringLiteral("drop-echo=%1").arg(dropEcho)));

        QVERIFY(!(whole ? rig.com.WriteEEMemory(true) : rig.com.WriteEEGroup(4)));
        QCOMPARE(rig.prompter.texts(), QStringList{kWriteFailed});
        QCOMPARE(rig.prompter.shown[0].buttons, MsgButtons::RetryCancel);
        // Every part was attempted before the failure was reported.
        QCOMPARE(writesBetween(rig.radio, 1970, 2000), powerWords);
        QCOMPARE(writesBetween(rig.radio, 128, 1920), groupWords);
        QCOMPARE(rig.radio.received().back(), uint8_t{0x01});
    }

    void readWarnsWhenBandwidthMissing_data() {
        QTest::addColumn<bool>("capable");
        QTest::addColumn<bool>("optionOn");
        QTest::newRow("missing, option on") << false << true;
        QTest::newRow("missing, option off") << false << false;
        QTest::newRow("present, option on") << true << true;
    }

    void readWarnsWhenBandwidthMissing() {
        QFETCH(bool, capable);
        QFETCH(bool, optionOn);
        RadioRig rig;
        rig.radio.eeprom() = sim::defaultImage();
        sim::setBandwidthCapable(rig.radio.eeprom(), capable);
        rig.state.PerChanBandOn = optionOn;
        QVERIFY(rig.com.ReadEEMemory());
        const bool warned = !capable && optionOn;
        QCOMPARE(rig.prompter.texts(), warned ? QStringList{kBandwidthWarning} : QStringList{});
        if (warned) QCOMPARE(rig.prompter.shown[0].title, QStringLiteral("Read Bandwidth"));
        QVERIFY(std::equal(rig.radio.eeprom().begin(), rig.radio.eeprom().end(),
                           rig.state.EEImage.begin()));
        QCOMPARE(rig.state.PowerBlockPresent, uint8_t{1});
    }
};

TAV_TEST_GUILESS(TestChannelMasks);
#include "tst_channelmasks.moc"
