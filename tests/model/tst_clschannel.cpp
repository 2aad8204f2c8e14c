#include <QtTest>

#include "TestMain.h"
#include "ModelFixtures.h"
#include "model/MemoryGrid.h"
#include "model/clsChannel.h"

using namespace tav;

namespace {
// Everything one channel object needs, for group g, channel c.
struct ChannelRig {
    AppState state;
    GroupControls controls;
    MemoryGrid grid;
    std::unique_ptr<clsChannel> channel;
    int g, c;

    ChannelRig(int group, int chan) : g(group), c(chan) {}
    clsChannel& make() {
        state.NewGroupIndex = int16_t(g);
        state.NewChannelIndex = int16_t(c);
        channel = std::make_unique<clsChannel>(state, controls, grid);
        return *channel;
    }
    uint8_t& ee(int page, int address) { return state.EEImage[std::size_t(page * 128 + address)]; }
    uint8_t& rec(int offset) { return ee(g + 1, 16 + 8 * c + offset); }
    QStringList row() const {
        QStringList l;
        for (int col = 1; col <= 5; ++col) l << grid.cellText(col, c);
        return l;
    }
};
}  // namespace

class TestClsChannel : public QObject {
    Q_OBJECT

private slots:
    void takesIndexesAtConstruction() {
        ChannelRig r(6, 9);
        clsChannel& ch = r.make();
        r.state.NewGroupIndex = 2;
        r.state.NewChannelIndex = 3;
        QCOMPARE(int(ch.groupIndex()), 6);
        QCOMPARE(int(ch.channelIndex()), 9);
    }

    void uniformRecords_data() {
        QTest::addColumn<int>("fill");
        QTest::addColumn<QStringList>("row");
        QTest::newRow("all zero") << 0x00
                                  << QStringList{"none", "000.0", "none", "000.0", "00000000"};
        QTest::newRow("all FF") << 0xFF
                                << QStringList{"none", "D777-", "none", "D777-", " BLANK  "};
    }
    void uniformRecords() {
        QFETCH(int, fill);
        QFETCH(QStringList, row);
        ChannelRig r(3, 5);
        r.state.EEImage.fill(uint8_t(fill));
        r.state.LabelImage.fill(uint8_t(fill));
        r.make().Read_Channel();
        QCOMPARE(r.row(), row);
        QCOMPARE(r.channel->rxFreqText(), QStringLiteral("none"));
        QCOMPARE(r.channel->labelText(), row.last());
    }

    void recordBytesAtTheChannelsAddress_data() {
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("chan");
        QTest::newRow("g0 c0") << 0 << 0;
        QTest::newRow("g14 c13") << 14 << 13;
    }
    void recordBytesAtTheChannelsAddress() {
        QFETCH(int, group);
        QFETCH(int, chan);
        ChannelRig r(group, chan);
        test::randomFill(r.state, 11);
        const AppState before = r.state;
        const QStringList texts{"155.12500", "D023", "162.40500", "067.0"};
        for (int col = 1; col <= 4; ++col) r.grid.setCellText(col, chan, texts[col - 1]);
        clsChannel& ch = r.make();
        ch.Write_RX_Freq();
        ch.Write_RX_CG();
        ch.Write_TX_Freq();
        ch.Write_TX_CG();
        const QList<int> expected{0xD5, 0x12, 0x88, 0x13, 0xE2, 0x40, 0x06, 0x70};
        test::AllowedBits ok;
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(int(r.rec(i)), expected[i]);
            ok.eeBits(group + 1, 16 + 8 * chan + i, 0xFF);
        }
        QCOMPARE(test::strayChanges(before, r.state, ok), QString());
        ch.Read_Channel();
        QCOMPARE(r.row().mid(0, 4), texts);
    }

    void refusedTextsKeepTheOldBytes_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::newRow("rx 2.5 kHz raster") << 1 << "155.0025";
        QTest::newRow("rx CG short code") << 2 << "D2";
        QTest::newRow("tx 180 MHz") << 3 << "180.0";
        QTest::newRow("tx CG 1600 Hz") << 4 << "1600";
    }
    void refusedTextsKeepTheOldBytes() {
        QFETCH(int, column);
        QFETCH(QString, text);
        ChannelRig r(2, 4);
        test::randomFill(r.state, 5);
        clsChannel& ch = r.make();
        const QStringList valid{"155.12500", "D023-", "none", "131.8"};
        for (int col = 1; col <= 4; ++col) r.grid.setCellText(col, 4, valid[col - 1]);
        ch.Write_Channel();
        ch.Read_Channel();
        const QStringList shown = r.row();
        const AppState before = r.state;
        r.grid.setCellText(column, 4, text);
        ch.Write_RX_Freq();
        ch.Write_RX_CG();
        ch.Write_TX_Freq();
        ch.Write_TX_CG();
        QCOMPARE(r.state.EEImage, before.EEImage);
        ch.Read_Channel();
        QCOMPARE(r.row(), shown);
    }

    void labelCells_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("readBack");
        QTest::newRow("short: blanks after") << "ab"
                                             << "AB      ";
        QTest::newRow("long: rest dropped") << "ABCDEFGHIJ"
                                            << "ABCDEFGH";
        QTest::newRow("dots share a cell") << "1.2.3.4.5.6.7.8.9"
                                           << "1.2.3.4.5.6.7.8.";
        QTest::newRow("empty cell text") << ""
                                         << "        ";
        QTest::newRow("unknown characters") << "A#B"
                                            << "A B     ";
    }
    void labelCells() {
        QFETCH(QString, text);
        QFETCH(QString, readBack);
        ChannelRig r(9, 13);
        test::randomFill(r.state, 3);
        const AppState before = r.state;
        r.grid.setCellText(5, 13, text);
        clsChannel& ch = r.make();
        ch.Write_Chan_Alpha();
        test::AllowedBits ok;
        for (int k = 0; k < 8; ++k) ok.labelBits(9, 13, k, 0xFF);
        QCOMPARE(test::strayChanges(before, r.state, ok), QString());
        ch.Read_Chan_Alpha();
        QCOMPARE(r.grid.cellText(5, 13), readBack);
    }

    // Where each channel's scan, narrow-band and power bits live.
    void perChannelBits_data() {
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("chan");
        QTest::addColumn<int>("scanAddress");
        QTest::addColumn<int>("narrowAddress");
        QTest::addColumn<int>("powerIndex");
        QTest::addColumn<int>("mask");
        QTest::newRow("g0 c7") << 0 << 7 << 1 << 37 << 15 << 0x80;
        QTest::newRow("g0 c8") << 0 << 8 << 0 << 36 << 0 << 0x01;
        QTest::newRow("g5 c3") << 5 << 3 << 1 << 47 << 20 << 0x08;
        QTest::newRow("g13 c13") << 13 << 13 << 0 << 62 << 13 << 0x20;
    }
    void perChannelBits() {
        QFETCH(int, group);
        QFETCH(int, chan);
        QFETCH(int, scanAddress);
        QFETCH(int, narrowAddress);
        QFETCH(int, powerIndex);
        QFETCH(int, mask);
        for (quint32 seed = 1; seed <= 20; ++seed) {
            ChannelRig r(group, chan);
            test::randomFill(r.state, seed);
            QRandomGenerator rng(seed);
            const int scan = rng.bounded(2), narrow = rng.bounded(2), low = rng.bounded(2);
            const AppState before = r.state;
            clsChannel& ch = r.make();
            r.controls.chkScan[std::size_t(chan)] = scan;
            r.controls.chkNarr[std::size_t(chan)] = narrow;
            r.controls.chkLoPower[std::size_t(chan)] = low;
            ch.Write_Scan_List();
            ch.Write_Narrow_Band();
            ch.Write_Lo_Power();
            test::AllowedBits ok;
            ok.eeBits(group + 1, scanAddress, uint8_t(mask))
                .eeBits(0, narrowAddress, uint8_t(mask));
            ok.power[std::size_t(powerIndex)] = uint8_t(mask);
            QCOMPARE(test::strayChanges(before, r.state, ok), QString());
            QCOMPARE(bool(r.ee(group + 1, scanAddress) & mask), scan == 1);
            QCOMPARE(bool(r.ee(0, narrowAddress) & mask), narrow == 1);
            // A set power bit is high power: the box shows low power.
            QCOMPARE(bool(r.state.PowerMask[std::size_t(powerIndex)] & mask), low == 0);

            r.controls = GroupControls();
            ch.Read_Scan_List();
            ch.Read_Narrow_Band();
            ch.Read_Lo_Power();
            QCOMPARE(r.controls.chkScan[std::size_t(chan)], scan);
            QCOMPARE(r.controls.chkNarr[std::size_t(chan)], narrow);
            QCOMPARE(r.controls.chkLoPower[std::size_t(chan)], low);
        }
    }

    void lastGroupHasNoPowerBits() {
        for (int chan = 0; chan < 14; ++chan) {
            ChannelRig r(14, chan);
            test::randomFill(r.state, quint32(100 + chan));
            const AppState before = r.state;
            clsChannel& ch = r.make();
            r.controls.chkLoPower.fill(7);
            ch.Read_Channel();
            QCOMPARE(r.controls.chkLoPower[std::size_t(chan)], 7);
            r.controls.chkLoPower.fill(chan % 2);
            ch.Write_Lo_Power();
            QCOMPARE(r.state.PowerMask, before.PowerMask);
        }
    }
};

TAV_TEST_GUILESS(TestClsChannel);
#include "tst_clschannel.moc"
