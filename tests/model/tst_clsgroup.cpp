#include <QtTest>
#include <functional>

#include "TestMain.h"
#include "ModelFixtures.h"
#include "model/ControlLists.h"
#include "model/MemoryGrid.h"
#include "model/clsGroup.h"

using namespace tav;

Q_DECLARE_METATYPE(std::function<void(clsGroup&)>)

namespace {
using GroupOp = std::function<void(clsGroup&)>;

struct GroupRig {
    AppState state;
    GroupControls controls;
    MemoryGrid grid;
    std::unique_ptr<clsGroup> group;
    int g;

    explicit GroupRig(int index) : g(index) {}
    clsGroup& make() {
        state.NewGroupIndex = int16_t(g);
        group = std::make_unique<clsGroup>(state, controls, grid);
        return *group;
    }
    uint8_t& ee(int address) { return state.EEImage[std::size_t((g + 1) * 128 + address)]; }
};

// Valid values for every group control, drawn from rng.
GroupControls randomControls(QRandomGenerator& rng) {
    GroupControls c;
    c.cboScan = rng.bounded(16);
    c.cboTOT = rng.bounded(16);
    c.cboBCI = rng.bounded(4);
    c.cboANI = rng.bounded(4);
    c.cboPri1Chan = rng.bounded(14);
    c.cboUCGChan = rng.bounded(15);
    c.cboBlTimeout = rng.bounded(8);
    c.priMode = PriorityMode(rng.bounded(4));
    c.optBattSaveOff = rng.bounded(2);
    c.optUCGEnabled = rng.bounded(2);
    c.chkPriKeyLock = rng.bounded(2);
    c.chkENTCLRLock = rng.bounded(2);
    c.chkUCGEncode = rng.bounded(2);
    c.chkAlphaEnabled = rng.bounded(2);
    c.chkBlKeypress = rng.bounded(2);
    c.chkBlOther = rng.bounded(2);
    c.chkBLScanState = rng.bounded(2);
    c.chkBlChannel = rng.bounded(2);
    c.txtID = QStringLiteral("%1").arg(rng.bounded(0x10000000), 7, 16, QLatin1Char('0')).toUpper();
    c.txtGroupLabel = QStringLiteral("G%1-LBL").arg(rng.bounded(100), 2, 10, QLatin1Char('0'));
    for (int i = 0; i < kChannelsPerGroup; ++i) {
        c.chkScan[std::size_t(i)] = rng.bounded(2);
        c.chkNarr[std::size_t(i)] = rng.bounded(2);
        c.chkLoPower[std::size_t(i)] = rng.bounded(2);
    }
    return c;
}

void randomRows(QRandomGenerator& rng, MemoryGrid& grid) {
    for (int c = 0; c < kChannelsPerGroup; ++c) {
        const int f = 10000000 + rng.bounded(8000) * 1000 + (rng.bounded(2) ? 500 : 0);
        grid.setCellText(
            1, c, QStringLiteral("%1.%2").arg(f / 100000).arg(f % 100000, 5, 10, QLatin1Char('0')));
        grid.setCellText(2, c, QStringLiteral("D%1").arg(rng.bounded(512), 3, 8, QLatin1Char('0')));
        grid.setCellText(3, c,
                         rng.bounded(4) ? QStringLiteral("162.55000") : QStringLiteral("none"));
        grid.setCellText(4, c,
                         QStringLiteral("%1.%2")
                             .arg(rng.bounded(800), 3, 10, QLatin1Char('0'))
                             .arg(rng.bounded(10)));
        grid.setCellText(5, c,
                         QStringLiteral("CH%1 %2").arg(c).arg(rng.bounded(1000)).leftJustified(8));
    }
}

bool sameControls(const GroupControls& a, const GroupControls& b, bool withPower) {
    return a.cboScan == b.cboScan && a.cboTOT == b.cboTOT && a.cboBCI == b.cboBCI &&
           a.cboANI == b.cboANI && a.cboPri1Chan == b.cboPri1Chan && a.cboUCGChan == b.cboUCGChan &&
           a.cboBlTimeout == b.cboBlTimeout && a.priMode == b.priMode &&
           a.optBattSaveOff == b.optBattSaveOff && a.optUCGEnabled == b.optUCGEnabled &&
           a.chkPriKeyLock == b.chkPriKeyLock && a.chkENTCLRLock == b.chkENTCLRLock &&
           a.chkUCGEncode == b.chkUCGEncode && a.chkAlphaEnabled == b.chkAlphaEnabled &&
           a.chkBlKeypress == b.chkBlKeypress && a.chkBlOther == b.chkBlOther &&
           a.chkBLScanState == b.chkBLScanState && a.chkBlChannel == b.chkBlChannel &&
           a.txtID == b.txtID && a.txtGroupLabel.leftJustified(8) == b.txtGroupLabel &&
           a.chkScan == b.chkScan && a.chkNarr == b.chkNarr &&
           (!withPower || a.chkLoPower == b.chkLoPower);
}
}  // namespace

class TestClsGroup : public QObject {
    Q_OBJECT

private slots:

    void allFFGroupReads() {
        GroupRig r(4);
        r.state.EEImage.fill(0xFF);
        r.state.LabelImage.fill(0xFF);
        r.make().Read_Group();
        const GroupControls& c = r.controls;
        QCOMPARE(lists::scanHoldTimes().at(c.cboScan), QStringLiteral("7.5"));
        QCOMPARE(lists::timeOutTimes().at(c.cboTOT), QStringLiteral("225"));
        QCOMPARE(c.priMode, PriorityMode::C);
        QCOMPARE(lists::priorityChannels().at(c.cboPri1Chan), QStringLiteral("Ch 1"));
        QCOMPARE(c.chkPriKeyLock, 1);
        QCOMPARE(c.chkENTCLRLock, 1);
        QCOMPARE(lists::busyChannel().at(c.cboBCI), QStringLiteral("Lockout"));
        QCOMPARE(lists::aniDtmf().at(c.cboANI), QStringLiteral("DTMF w/ manual ANI"));
        QCOMPARE(c.txtID, QStringLiteral("FFFFFFF"));
        QCOMPARE(c.chkUCGEncode, 1);
        QCOMPARE(lists::ucgChannels().at(c.cboUCGChan), QStringLiteral("OFF"));
        QVERIFY(c.optBattSaveOff);
        QVERIFY(c.optUCGEnabled);
        QCOMPARE(c.txtGroupLabel, QStringLiteral(" BLANK  "));
        QCOMPARE(lists::backlightTimeouts().at(c.cboBlTimeout), QStringLiteral("Always On"));
        for (int v :
             {c.chkAlphaEnabled, c.chkBlKeypress, c.chkBlOther, c.chkBLScanState, c.chkBlChannel})
            QCOMPARE(v, 1);
        for (int ch = 0; ch < 14; ++ch) {
            QCOMPARE(c.chkScan[std::size_t(ch)], 1);
            QCOMPARE(c.chkNarr[std::size_t(ch)], 1);
            QCOMPARE(r.grid.cellText(2, ch), QStringLiteral("D777-"));
        }
    }

    void priorityModeBits_data() {
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("mode");
        QTest::newRow("00 A") << 0x00 << int(PriorityMode::A);
        QTest::newRow("01 D") << 0x40 << int(PriorityMode::D);
        QTest::newRow("10 B") << 0x80 << int(PriorityMode::B);
        QTest::newRow("11 C") << 0xC0 << int(PriorityMode::C);
    }
    void priorityModeBits() {
        QFETCH(int, bits);
        QFETCH(int, mode);
        GroupRig r(2);
        clsGroup& grp = r.make();
        r.ee(3) = uint8_t(bits | 0x35);
        grp.Read_Priority();
        QCOMPARE(int(r.controls.priMode), mode);
        QCOMPARE(r.controls.cboPri1Chan, 5);
        r.ee(3) = uint8_t(~bits & 0xC0);
        grp.Write_Priority();
        QCOMPARE(int(r.ee(3)), bits + 5);
    }

    void channelNumbersOutOfRangeReadAsFirstEntry() {
        GroupRig r(1);
        clsGroup& grp = r.make();
        r.ee(3) = 0x0E;  // priority channel 15
        r.ee(8) = 0x0F;  // UCG channel 15
        grp.Read_Priority();
        grp.Read_UCG_Chan();
        QCOMPARE(r.controls.cboPri1Chan, 0);
        QCOMPARE(r.controls.cboUCGChan, 0);
        r.ee(3) = 0x0D;
        r.ee(8) = 0x0E;
        grp.Read_Priority();
        grp.Read_UCG_Chan();
        QCOMPARE(r.controls.cboPri1Chan, 13);
        QCOMPARE(r.controls.cboUCGChan, 14);
    }

    void idNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("bytes");  // low nibble of 4, then 5, 6, 7
        QTest::addColumn<QString>("readBack");
        QTest::newRow("12AB padded") << "12AB" << QList<int>{0x0, 0x00, 0x12, 0xAB} << "00012AB";
        QTest::newRow("seven digits")
            << "1234567" << QList<int>{0x1, 0x23, 0x45, 0x67} << "1234567";
        QTest::newRow("eighth ignored")
            << "ABCDEFF1" << QList<int>{0xA, 0xBC, 0xDE, 0xFF} << "ABCDEFF";
        QTest::newRow("empty") << "" << QList<int>{0, 0, 0, 0} << "0000000";
        QTest::newRow("non-hex is 0") << "12X4" << QList<int>{0x0, 0x00, 0x12, 0x04} << "0001204";
    }
    void idNumber() {
        QFETCH(QString, text);
        QFETCH(QList<int>, bytes);
        QFETCH(QString, readBack);
        GroupRig r(6);
        r.state.EEImage.fill(0xA5);
        clsGroup& grp = r.make();
        r.controls.txtID = text;
        grp.Write_ID_Num();
        QCOMPARE(int(r.ee(4)), 0xA0 | bytes[0]);  // the high nibble is not the ID's
        for (int i = 1; i < 4; ++i) QCOMPARE(int(r.ee(4 + i)), bytes[i]);
        grp.Read_ID_Num();
        QCOMPARE(r.controls.txtID, readBack);
        QCOMPARE(grp.idText(), readBack);
    }

    void backlightByte_data() {
        QTest::addColumn<int>("timeout");
        QTest::addColumn<QList<int>>("checks");  // alpha, keypress, other, scan state, channel
        QTest::addColumn<int>("byte");
        QTest::newRow("alpha only") << 0 << QList<int>{1, 0, 0, 0, 0} << 0x01;
        QTest::newRow("timeout 3") << 3 << QList<int>{0, 0, 0, 0, 0} << 0x06;
        QTest::newRow("keypress, scan state") << 0 << QList<int>{0, 1, 0, 1, 0} << 0x50;
        QTest::newRow("other, channel") << 0 << QList<int>{0, 0, 1, 0, 1} << 0xA0;
        QTest::newRow("everything") << 7 << QList<int>{1, 1, 1, 1, 1} << 0xFF;
    }
    void backlightByte() {
        QFETCH(int, timeout);
        QFETCH(QList<int>, checks);
        QFETCH(int, byte);
        GroupRig r(11);
        r.state.LabelImage.fill(0x5A);
        const AppState before = r.state;
        clsGroup& grp = r.make();
        GroupControls& c = r.controls;
        c.cboBlTimeout = timeout;
        c.chkAlphaEnabled = checks[0];
        c.chkBlKeypress = checks[1];
        c.chkBlOther = checks[2];
        c.chkBLScanState = checks[3];
        c.chkBlChannel = checks[4];
        grp.Write_Group_Backlight();
        QCOMPARE(int(r.state.label(11, 15, 7)), byte);
        test::AllowedBits ok;
        ok.labelBits(11, 15, 7, 0xFF);
        QCOMPARE(test::strayChanges(before, r.state, ok), QString());
        c = GroupControls();
        grp.Read_Group_Backlight();
        QCOMPARE(c.cboBlTimeout, timeout);
        QCOMPARE((QList<int>{c.chkAlphaEnabled, c.chkBlKeypress, c.chkBlOther, c.chkBLScanState,
                             c.chkBlChannel}),
                 checks);
    }

    void blankGroupLabelRoundTrip() {
        GroupRig r(3);
        r.state.LabelImage.fill(0xFF);
        clsGroup& grp = r.make();
        grp.Read_Group_Label();
        QCOMPARE(r.controls.txtGroupLabel, QStringLiteral(" BLANK  "));
        grp.Write_Group_Label();
        QCOMPARE(int(r.state.label(3, 14, 1)), 0x16);  // "B"
        QCOMPARE(int(r.state.label(3, 14, 7)), 0x60);
        r.controls.txtGroupLabel.clear();
        grp.Read_Group_Label();
        QCOMPARE(r.controls.txtGroupLabel, QStringLiteral(" BLANK  "));
        QCOMPARE(grp.groupLabelText(), QStringLiteral(" BLANK  "));
    }

    // Each write changes only the bits its field owns, whatever the image held.
    void fieldWritesAreMasked_data() {
        QTest::addColumn<GroupOp>("op");
        QTest::addColumn<QList<int>>("addressMasks");  // address, mask pairs in the group page
        auto row = [](const char* name, void (clsGroup::*fn)(), QList<int> am) {
            QTest::newRow(name) << GroupOp([fn](clsGroup& g) { (g.*fn)(); }) << am;
        };
        row("Write_TOT_Scan", &clsGroup::Write_TOT_Scan, {2, 0xFF});
        row("Write_ID_Num", &clsGroup::Write_ID_Num, {4, 0x0F, 5, 0xFF, 6, 0xFF, 7, 0xFF});
        row("Write_Priority", &clsGroup::Write_Priority, {3, 0xCF});
        row("Write_Battery_Saver", &clsGroup::Write_Battery_Saver, {0, 0x80});
        row("Write_Keyboard_Lockouts", &clsGroup::Write_Keyboard_Lockouts, {3, 0x30});
        row("Write_Busy_Channel_Indicate", &clsGroup::Write_Busy_Channel_Indicate, {4, 0xC0});
        row("Write_ANI_DTMF", &clsGroup::Write_ANI_DTMF, {4, 0x30});
        row("Write_UCG_Encode", &clsGroup::Write_UCG_Encode, {8, 0x80});
        row("Write_UCG_Enable", &clsGroup::Write_UCG_Enable, {0, 0x40});
        row("Write_UCG_Chan", &clsGroup::Write_UCG_Chan, {8, 0x0F});
    }
    void fieldWritesAreMasked() {
        QFETCH(GroupOp, op);
        QFETCH(QList<int>, addressMasks);
        for (quint32 seed = 1; seed <= 15; ++seed) {
            GroupRig r(int(seed % 15));
            test::randomFill(r.state, seed);
            QRandomGenerator rng(seed * 7);
            r.controls = randomControls(rng);
            const AppState before = r.state;
            clsGroup& grp = r.make();
            op(grp);
            test::AllowedBits ok;
            for (int i = 0; i < addressMasks.size(); i += 2)
                ok.eeBits(r.g + 1, addressMasks[i], uint8_t(addressMasks[i + 1]));
            QCOMPARE(test::strayChanges(before, r.state, ok), QString());
        }
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
            GroupRig r(group);
            test::randomFill(r.state, seed);
            QRandomGenerator rng(seed + 1000);
            r.controls = randomControls(rng);
            randomRows(rng, r.grid);
            const GroupControls written = r.controls;
            MemoryGrid writtenGrid = r.grid;
            const AppState before = r.state;
            clsGroup& grp = r.make();
            grp.Write_Group();

            test::AllowedBits ok;
            for (int a = 0; a <= 7; ++a) ok.eeBits(group + 1, a, 0xFF);
            ok.eeBits(group + 1, 8, 0x8F);
            for (int a = 16; a < 128; ++a) ok.eeBits(group + 1, a, 0xFF);
            ok.eeBits(0, 36 + 2 * group, 0x3F).eeBits(0, 37 + 2 * group, 0xFF);
            for (int slot = 0; slot <= 14; ++slot)
                for (int k = 0; k < 8; ++k) ok.labelBits(group, slot, k, 0xFF);
            ok.labelBits(group, 15, 7, 0xFF);
            if (group <= 13) {
                ok.power[std::size_t(group)] = 0x3F;
                ok.power[std::size_t(group + 15)] = 0xFF;
            }
            QCOMPARE(test::strayChanges(before, r.state, ok), QString());

            r.controls = GroupControls();
            r.grid.clear();
            grp.Read_Group();
            QVERIFY(sameControls(written, r.controls, group <= 13));
            for (int c = 0; c < 14; ++c)
                for (int col = 1; col <= 5; ++col)
                    QCOMPARE(r.grid.cellText(col, c), writtenGrid.cellText(col, c));
        }
    }

    void lastGroupLeavesLowPowerBoxesAlone() {
        GroupRig r(14);
        test::randomFill(r.state, 77);
        const AppState before = r.state;
        r.controls.chkLoPower.fill(1);
        clsGroup& grp = r.make();
        grp.Write_Group();
        QCOMPARE(r.state.PowerMask, before.PowerMask);
        r.controls.chkLoPower.fill(5);
        grp.Read_Group();
        for (int v : r.controls.chkLoPower) QCOMPARE(v, 5);
    }

    void labelsOnlyReadTouchesOnlyLabels() {
        GroupRig r(8);
        test::randomFill(r.state, 21);
        clsGroup& grp = r.make();
        for (int c = 0; c < 14; ++c)
            for (int col = 1; col <= 4; ++col) r.grid.setCellText(col, c, "keep");
        r.controls.txtID = "keep";
        r.controls.cboTOT = 9;
        grp.Read_Labels_Only();
        QCOMPARE(r.controls.txtID, QStringLiteral("keep"));
        QCOMPARE(r.controls.cboTOT, 9);
        QCOMPARE(r.grid.cellText(1, 0), QStringLiteral("keep"));
        QCOMPARE(r.controls.cboBlTimeout, (r.state.label(8, 15, 7) & 0x0E) >> 1);
        for (int c = 0; c < 14; ++c) QCOMPARE(r.grid.cellText(5, c), grp.channel(c).labelText());
    }

    // A list with nothing selected (index -1) must not spill into the other
    // field that shares its byte.
    void unselectedListKeepsItsNeighbour() {
        GroupRig r(2);
        clsGroup& grp = r.make();
        r.controls.cboScan = 5;
        r.controls.cboTOT = -1;
        r.controls.priMode = PriorityMode::B;
        r.controls.cboPri1Chan = -1;
        r.controls.cboBlTimeout = -1;
        grp.Write_TOT_Scan();
        grp.Write_Priority();
        grp.Write_Group_Backlight();
        QCOMPARE(r.ee(2) >> 4, 5);
        QCOMPARE(r.ee(3) & 0xC0, 0x80);
        QCOMPARE(r.state.label(2, 15, 7) & 0xF1, 0);
    }
};

TAV_TEST_GUILESS(TestClsGroup);
#include "tst_clsgroup.moc"
