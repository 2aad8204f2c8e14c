// Bandwidth and power masks: the named-block directory, the warnings where the
// radio lacks what the user's options ask for, and that a failed mask write
// never ends a block write in success.

#include <functional>

#include "TestMain.h"
#include "XferSupport.h"

using namespace tav;
using namespace tav::test;

namespace {

// A factory radio with an empty directory.
void bareRadio(RadioRig& rig) {
    loadFactoryRadio(rig);
    for (int i = 0; i < sim::kDirectoryEntries; ++i) rig.radio.eeprom()[23 + 2 * i] = 0;
}

// The text of each box title that may come up here.
QString boxText(const QString& title) {
    const QString missing =
        QStringLiteral("Warning: This radio is not factory configured\rfor per-channel %1.");
    if (title == "WRITE GROUP") return QStringLiteral("Group not configured for channel data.");
    return missing.arg(title.endsWith("Power") ? "power control" : "bandwidth");
}

}  // namespace

class TestChannelMasks : public QObject {
    Q_OBJECT

private slots:
    // Directory entries as "start NAME", "-" for an empty one.
    void findSys_data() {
        QTest::addColumn<QString>("entries");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("expected");
        QTest::newRow("entry 1 after an empty entry 0") << "-,1024 VPWR" << QString() << 1024;
        QTest::newRow("lower entry wins") << "-,-,1536 VPWR,-,1024 VPWR" << QString() << 1536;
        QTest::newRow("other names only") << "1024 UNIT,1536 VPWX" << QString() << 0;
        QTest::newRow("no entries") << QString() << QString() << 0;
        // Reply 1 is the identification byte; replies 2 and 3 the first entry.
        QTest::newRow("unreadable entry passed over") << "1024 VPWR,1536 VPWR"
                                                      << "drop-reply=2" << 1536;
        QTest::newRow("entry unreadable once matched") << "1024 VPWR"
                                                       << "drop-reply=10" << -1;
    }
    void findSys() {
        QFETCH(QString, entries);
        QFETCH(QString, fault);
        QFETCH(int, expected);
        RadioRig rig;
        bareRadio(rig);
        const QStringList list = entries.split(',', Qt::SkipEmptyParts);
        for (int i = 0; i < list.size(); ++i)
            if (list[i] != "-")
                sim::placeNamedBlock(rig.radio.eeprom(), i, list[i].section(' ', 0, 0).toInt(),
                                     list[i].section(' ', 1));
        rig.radio.setFaults(faults(fault));
        QVERIFY(rig.hook());
        QCOMPARE(rig.com.find_sys(QStringLiteral("VPWR")), expected);
        QVERIFY(rig.prompter.shown.isEmpty());
    }

    // A radio without the power block and the bandwidth capability, and without
    // group 15: the warnings each operation shows, by title (none for a presence
    // check). Reads record that the block is missing; writes leave that alone.
    void warnings_data() {
        QTest::addColumn<int>("op");
        QTest::addColumn<bool>("optionsOn");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("whole read") << 0 << true << QStringList{"Read Power", "Read Bandwidth"};
        QTest::newRow("whole read, options off") << 0 << false << QStringList{};
        QTest::newRow("global read") << 1 << true << QStringList{};
        QTest::newRow("group read") << 2 << true << QStringList{"Read Bandwidth", "Read Power"};
        QTest::newRow("group write") << 3 << true << QStringList{"Write Power", "Write Bandwidth"};
        QTest::newRow("whole write") << 4 << true << QStringList{"Write Power"};
        QTest::newRow("whole write, options off") << 4 << false << QStringList{};
        QTest::newRow("group 15 write") << 5 << true << QStringList{"WRITE GROUP"};
    }
    void warnings() {
        QFETCH(int, op);
        QFETCH(bool, optionsOn);
        QFETCH(QStringList, titles);
        RadioRig rig;
        bareRadio(rig);
        sim::setBandwidthCapable(rig.radio.eeprom(), false);
        rig.state.PerChanBandOn = rig.state.PerChanPwrOn = optionsOn;
        rig.state.PowerBlockPresent = 1;
        const std::function<bool()> run[] = {
            [&] { return rig.com.ReadEEMemory(); },       [&] { return rig.com.ReadEEGlobal(); },
            [&] { return rig.com.ReadEEGroup(3); },       [&] { return rig.com.WriteEEGroup(3); },
            [&] { return rig.com.WriteEEMemory(false); }, [&] { return rig.com.WriteEEGroup(15); }};
        QCOMPARE(run[op](), op != 5);
        QStringList shown;
        for (const ShownBox& box : rig.prompter.shown) {
            shown << box.title;
            QCOMPARE(boxLine(box),
                     boxLine(boxText(box.title), box.title, MsgButtons::Ok, MsgIcon::None));
        }
        QCOMPARE(shown, titles);
        QCOMPARE(rig.state.PowerBlockPresent, uint8_t(op >= 3));
        QCOMPARE(writesBetween(rig.radio, 36, 66), 0);
        if (op == 5) QVERIFY(rig.radio.eepromWrites().empty());
        QCOMPARE(rig.clock.beeps(), op == 5 ? 0 : 1);
    }

    // A capability that cannot be read closes the bandwidth bytes and fails the write.
    void unreadableCapabilityClosesBandwidthBytes() {
        RadioRig rig;
        loadFactoryRadio(rig);
        fillImage(rig.state, 9);
        rig.radio.setFaults(faults("drop-reply=2"));  // the read of address 6
        QVERIFY(!rig.com.WriteEEGlobal());
        for (int a = 36; a < 66; ++a) QCOMPARE(rig.state.GlobalWriteMask[a], uint8_t{0});
        QCOMPARE(writesBetween(rig.radio, 36, 66), 0);
        QCOMPARE(writesBetween(rig.radio, 0, 128), 4);  // words 6, 10, 12 and 104 still go
        QCOMPARE(rig.prompter.texts(), QStringList{kWriteFailed});
    }

    // A lost echo of a power or bandwidth word fails the write, once every
    // part has been attempted.
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
        loadFactoryRadio(rig);
        fillImage(rig.state, 10);
        rig.state.PerChanBandOn = true;
        rig.radio.setFaults(faults(QStringLiteral("drop-echo=%1").arg(dropEcho)));
        QVERIFY(!(whole ? rig.com.WriteEEMemory(true) : rig.com.WriteEEGroup(4)));
        QCOMPARE(
            boxLine(rig.prompter.shown.value(0)),
            boxLine(kWriteFailed, "COMM ERROR", MsgButtons::RetryCancel, MsgIcon::Information));
        QCOMPARE(writesBetween(rig.radio, 1970, 2000), powerWords);
        QCOMPARE(writesBetween(rig.radio, 128, 1920), groupWords);
        QCOMPARE(rig.radio.received().back(), uint8_t{0x01});
    }
};

TAV_TEST_GUILESS(TestChannelMasks);
#include "tst_channelmasks.moc"
