// Bandwidth and power masks: the named-block directory, the warnings, and that a
// failed mask write never ends a block write in success.

#include <functional>
#include <tuple>

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

// 0 whole read, 1 global read, 2 group 3 read, 3 group 3 write, 4 whole write,
// 5 group 15 write; both options on; the titles of the boxes shown.
using Warnings = std::tuple<int, bool, QStringList>;
// 0 global, 1 whole but the global block, 2 group 4; fault; the words the radio
// received in page 0, in the group pages and in the power block.
using MaskFailure = std::tuple<int, QString, int, int, int>;

}  // namespace

class TestChannelMasks : public QObject {
    Q_OBJECT

private slots:
    // Directory entries as "start NAME", "-" for an empty one; reply 1 is the
    // identification byte, replies 2 and 3 the first entry.
    void findSys_data() {
        QTest::addColumn<QString>("entries");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("expected");
        QTest::newRow("entry 1 after an empty entry 0") << "-,1024 VPWR" << QString() << 1024;
        QTest::newRow("lower entry wins") << "-,-,1536 VPWR,-,1024 VPWR" << QString() << 1536;
        QTest::newRow("other names only") << "1024 UNIT,1536 VPWX" << QString() << 0;
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

    // A radio without power block, bandwidth capability and group 15: the warnings
    // each operation shows. Reads record that the block is missing, writes do not.
    void warnings_data() {
        QTest::addColumn<Warnings>("c");
        const QStringList readAll{"Read Power", "Read Bandwidth"};
        QTest::newRow("whole read") << Warnings{0, true, readAll};
        QTest::newRow("whole read, options off") << Warnings{0, false, {}};
        QTest::newRow("global read") << Warnings{1, true, {}};
        QTest::newRow("group read") << Warnings{2, true, {"Read Bandwidth", "Read Power"}};
        QTest::newRow("group write") << Warnings{3, true, {"Write Power", "Write Bandwidth"}};
        QTest::newRow("whole write") << Warnings{4, true, {"Write Power", "Write Bandwidth"}};
        QTest::newRow("whole write, options off") << Warnings{4, false, {}};
        QTest::newRow("group 15 write") << Warnings{5, true, {"WRITE GROUP"}};
    }
    void warnings() {
        QFETCH(Warnings, c);
        const auto& [op, optionsOn, titles] = c;
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

    // A capability that cannot be read, or a lost echo of a power or bandwidth
    // word, fails the write once every part has been attempted.
    void failedMaskWritesFailTheWrite_data() {
        QTest::addColumn<MaskFailure>("c");
        QTest::newRow("global: capability unread") << MaskFailure{0, "drop-reply=2", 4, 0, 0};
        // A group write: 61 page words (echoes 1 to 122), the power word, the bandwidth word.
        QTest::newRow("group: power word") << MaskFailure{2, "drop-echo=123", 1, 61, 1};
        QTest::newRow("group: bandwidth word") << MaskFailure{2, "drop-echo=126", 1, 61, 1};
        // A whole write skipping the global block: 15 bandwidth words come first.
        QTest::newRow("skip global: bandwidth word") << MaskFailure{1, "drop-echo=5", 3, 854, 15};
        QTest::newRow("skip global: power word") << MaskFailure{1, "drop-echo=1739", 15, 854, 15};
    }
    void failedMaskWritesFailTheWrite() {
        QFETCH(MaskFailure, c);
        const auto& [op, fault, unitWords, groupWords, powerWords] = c;
        RadioRig rig;
        loadFactoryRadio(rig);
        fillImage(rig.state, 10);
        rig.state.PerChanBandOn = true;
        rig.radio.setFaults(faults(fault));
        QVERIFY(!(op == 0   ? rig.com.WriteEEGlobal()
                  : op == 1 ? rig.com.WriteEEMemory(true)
                            : rig.com.WriteEEGroup(4)));
        QCOMPARE(
            boxLine(rig.prompter.shown.value(0)),
            boxLine(kWriteFailed, "COMM ERROR", MsgButtons::RetryCancel, MsgIcon::Information));
        QCOMPARE(rig.prompter.shown.size(), 1);
        QCOMPARE(writesBetween(rig.radio, 0, 128), unitWords);  // capability unread: 6, 10, 12, 104
        QCOMPARE(writesBetween(rig.radio, 128, 1920), groupWords);
        QCOMPARE(writesBetween(rig.radio, 1970, 2000), powerWords);
        QCOMPARE(rig.radio.received().back(), uint8_t{0x01});
    }
};

TAV_TEST_GUILESS(TestChannelMasks);
#include "tst_channelmasks.moc"
