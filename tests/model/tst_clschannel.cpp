#include <QtTest>

#include "Fixtures.h"
#include "TestMain.h"
#include "model/MemoryGrid.h"
#include "model/clsChannel.h"

using namespace tav;
using namespace tav::test;

namespace {
// Everything one channel object needs, for group g, channel c.
struct ChannelRig {
    AppState state;
    GroupControls controls;
    MemoryGrid grid;
    std::unique_ptr<clsChannel> channel;
    int g, c;

    ChannelRig(int group, int chan, AppState s = AppState()) : state(s), g(group), c(chan) {}
    clsChannel& make() {
        state.NewGroupIndex = int16_t(g);
        state.NewChannelIndex = int16_t(c);
        channel = std::make_unique<clsChannel>(state, controls, grid);
        return *channel;
    }
    uint8_t& rec(int offset) { return groupByte(state, g, 16 + 8 * c + offset); }
    QStringList row() const {
        QStringList l;
        for (int col = 1; col <= 5; ++col) l << grid.cellText(col, c);
        return l;
    }
    void setRow(const QStringList& texts) {
        for (int col = 1; col <= texts.size(); ++col) grid.setCellText(col, c, texts[col - 1]);
    }
};
}  // namespace

class TestClsChannel : public QObject {
    Q_OBJECT

private slots:
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

    // The record's eight bytes at 16 + 8c of the group's page, and no others.
    void recordBytesAtTheChannelsAddress_data() {
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("chan");
        QTest::addColumn<int>("address");  // in EEImage
        QTest::newRow("g0 c0") << 0 << 0 << 0x090;
        QTest::newRow("g6 c9") << 6 << 9 << 0x3D8;
        QTest::newRow("g14 c13") << 14 << 13 << 0x7F8;
    }
    void recordBytesAtTheChannelsAddress() {
        QFETCH(int, group);
        QFETCH(int, chan);
        QFETCH(int, address);
        ChannelRig r(group, chan, randomImage(11));
        const AppState before = r.state;
        const QStringList texts{"155.12500", "D023", "162.40500", "067.0"};
        r.setRow(texts);
        clsChannel& ch = r.make();
        r.state.NewGroupIndex = 2;  // the indexes were taken at construction
        r.state.NewChannelIndex = 3;
        ch.Write_RX_Freq();
        ch.Write_RX_CG();
        ch.Write_TX_Freq();
        ch.Write_TX_CG();
        const QList<int> expected{0xD5, 0x12, 0x88, 0x13, 0xE2, 0x40, 0x06, 0x70};
        AllowedBits ok;
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(int(r.state.EEImage[std::size_t(address + i)]), expected[i]);
            ok.eeBits(0, address + i, 0xFF);
        }
        QCOMPARE(strayChanges(before, r.state, ok), QString());
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
        ChannelRig r(2, 4, randomImage(5));
        clsChannel& ch = r.make();
        r.setRow({"155.12500", "D023-", "none", "131.8"});
        ch.Write_Channel();
        ch.Read_Channel();
        const QStringList shown = r.row();
        const AppState before = r.state;
        r.grid.setCellText(column, 4, text);
        ch.Write_Channel();
        QCOMPARE(r.state.EEImage, before.EEImage);
        ch.Read_Channel();
        QCOMPARE(r.row(), shown);
    }

    void labelCells_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("readBack");
        const auto row = [](const char* name, const char* text, const char* readBack) {
            QTest::newRow(name) << QString(text) << QString(readBack);
        };
        row("short: blanks after", "ab", "AB      ");
        row("long: rest dropped", "ABCDEFGHIJ", "ABCDEFGH");
        row("dots share a cell", "1.2.3.4.5.6.7.8.9", "1.2.3.4.5.6.7.8.");
        row("empty cell text", "", "        ");
        row("unknown characters", "A#B", "A B     ");
    }
    void labelCells() {
        QFETCH(QString, text);
        QFETCH(QString, readBack);
        ChannelRig r(9, 13, randomImage(3));
        const AppState before = r.state;
        r.grid.setCellText(5, 13, text);
        clsChannel& ch = r.make();
        ch.Write_Chan_Alpha();
        AllowedBits ok;
        for (int k = 0; k < 8; ++k) ok.labelBits(9, 13, k, 0xFF);
        QCOMPARE(strayChanges(before, r.state, ok), QString());
        ch.Read_Chan_Alpha();
        QCOMPARE(r.grid.cellText(5, 13), readBack);
    }

    // Where every channel's scan, narrow-band and power bits live: the first
    // byte of each pair holds channels 8 to 13, the second channels 0 to 7.
    // Group 15 has no power bits: its low-power boxes neither show nor change any.
    void perChannelBits_data() {
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("scanPage");
        QTest::addColumn<int>("narrowAddress");  // first byte of the pair in page 0
        QTest::addColumn<int>("powerIndex");     // first byte, the second 15 on; -1: none
        QTest::newRow("group 1") << 0 << 1 << 36 << 0;
        QTest::newRow("group 6") << 5 << 6 << 46 << 5;
        QTest::newRow("group 14") << 13 << 14 << 62 << 13;
        QTest::newRow("group 15") << 14 << 15 << 64 << -1;
    }
    void perChannelBits() {
        QFETCH(int, group);
        QFETCH(int, scanPage);
        QFETCH(int, narrowAddress);
        QFETCH(int, powerIndex);
        const std::pair<int, int> kBits[] = {{1, 0x01}, {1, 0x02}, {1, 0x04}, {1, 0x08}, {1, 0x10},
                                             {1, 0x20}, {1, 0x40}, {1, 0x80}, {0, 0x01}, {0, 0x02},
                                             {0, 0x04}, {0, 0x08}, {0, 0x10}, {0, 0x20}};
        for (int chan = 0; chan < kChannelsPerGroup; ++chan)
            for (quint32 seed = 1; seed <= 4; ++seed) {
                const auto [second, mask] = kBits[chan];
                ChannelRig r(group, chan, randomImage(seed * 20 + quint32(chan)));
                QRandomGenerator rng(seed);
                const int scan = rng.bounded(2), narrow = rng.bounded(2), low = rng.bounded(2);
                const AppState before = r.state;
                clsChannel& ch = r.make();
                r.controls.chkScan[std::size_t(chan)] = scan;
                r.controls.chkNarr[std::size_t(chan)] = narrow;
                r.controls.chkLoPower[std::size_t(chan)] = low;
                ch.Write_Channel();
                const ImageBits scanBits{ImageBlock::EEImage, scanPage * kPageSize + second,
                                         uint8_t(mask)};
                const ImageBits narrowBits{ImageBlock::EEImage, narrowAddress + second,
                                           uint8_t(mask)};
                const ImageBits powerBits{ImageBlock::PowerMask,
                                          std::max(powerIndex, 0) + 15 * second, uint8_t(mask)};
                AllowedBits ok;
                ok.add(scanBits).add(narrowBits);
                if (powerIndex >= 0) ok.add(powerBits);
                for (int i = 0; i < 8; ++i) ok.eeBits(scanPage, 16 + 8 * chan + i, 0xFF);
                for (int k = 0; k < 8; ++k) ok.labelBits(group, chan, k, 0xFF);
                QCOMPARE(strayChanges(before, r.state, ok), QString());
                QCOMPARE(bool(byteAt(r.state, scanBits) & mask), scan == 1);
                QCOMPARE(bool(byteAt(r.state, narrowBits) & mask), narrow == 1);
                // A set power bit is high power: the box shows low power.
                if (powerIndex >= 0) QCOMPARE(bool(byteAt(r.state, powerBits) & mask), low == 0);
                r.controls = GroupControls();
                r.controls.chkLoPower.fill(7);
                ch.Read_Channel();
                QCOMPARE(r.controls.chkScan[std::size_t(chan)], scan);
                QCOMPARE(r.controls.chkNarr[std::size_t(chan)], narrow);
                QCOMPARE(r.controls.chkLoPower[std::size_t(chan)], powerIndex < 0 ? 7 : low);
            }
    }
};

TAV_TEST_GUILESS(TestClsChannel);
#include "tst_clschannel.moc"
