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
    void uniformRecords() {
        for (int fill : {0x00, 0xFF}) {
            ChannelRig r(3, 5);
            r.state.EEImage.fill(uint8_t(fill));
            r.state.LabelImage.fill(uint8_t(fill));
            r.make().Read_Channel();
            QCOMPARE(r.row().join(u'|'),
                     fill ? "none|D777-|none|D777-| BLANK  " : "none|000.0|none|000.0|00000000");
            QCOMPARE(r.channel->rxFreqText() + r.channel->labelText(), "none" + r.row().last());
        }
    }

    // The record's eight bytes at 16 + 8c of the group's page (EEImage address), and no others.
    void recordBytesAtTheChannelsAddress() {
        for (const auto& [group, chan, address] :
             {std::tuple{0, 0, 0x090}, {6, 9, 0x3D8}, {14, 13, 0x7F8}}) {
            ChannelRig r(group, chan, randomImage(11));
            const AppState before = r.state;
            const QStringList texts{"155.12500", "D023", "162.40500", "067.0"};
            r.setRow(texts);
            clsChannel& ch = r.make();
            r.state.NewGroupIndex = 2;  // the indexes were taken at construction
            r.state.NewChannelIndex = 3;
            ch.Write_RX_Freq(), ch.Write_RX_CG(), ch.Write_TX_Freq(), ch.Write_TX_CG();
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
    }

    // rx 2.5 kHz raster, rx CG short code, tx 180 MHz, tx CG 1600 Hz.
    void refusedTextsKeepTheOldBytes() {
        for (const auto& [column, text] :
             {std::pair{1, "155.0025"}, {2, "D2"}, {3, "180.0"}, {4, "1600"}}) {
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
    }

    // Short: blanks after; long: rest dropped; dots share a cell; unknown characters are blanks.
    void labelCells() {
        for (const auto& [text, readBack] : {std::pair{"ab", "AB      "},
                                             {"ABCDEFGHIJ", "ABCDEFGH"},
                                             {"1.2.3.4.5.6.7.8.9", "1.2.3.4.5.6.7.8."},
                                             {"", "        "},
                                             {"A#B", "A B     "}}) {
            ChannelRig r(9, 13, randomImage(3));
            const AppState before = r.state;
            r.grid.setCellText(5, 13, text);
            clsChannel& ch = r.make();
            ch.Write_Chan_Alpha();
            AllowedBits ok;
            for (int k = 0; k < 8; ++k) ok.labelBits(9, 13, k, 0xFF);
            QCOMPARE(strayChanges(before, r.state, ok), QString());
            ch.Read_Chan_Alpha();
            QCOMPARE(r.grid.cellText(5, 13), QString(readBack));
        }
    }

    // Where every channel's scan, narrow-band and power bits live: the first
    // byte of each pair holds channels 8 to 13, the second channels 0 to 7.
    // Group 15 has no power bits: its low-power boxes neither show nor change any.
    // group, scan page, first byte of the narrow pair in page 0, first power byte (the second 15
    // on; -1: none)
    void perChannelBits_data() {
        QTest::addColumn<QList<int>>("at");
        for (const QList<int>& at :
             {QList{0, 1, 36, 0}, {5, 6, 46, 5}, {13, 14, 62, 13}, {14, 15, 64, -1}})
            QTest::addRow("group %d", at[0] + 1) << at;
    }
    void perChannelBits() {
        QFETCH(QList<int>, at);
        const int group = at[0], scanPage = at[1], narrowAddress = at[2], powerIndex = at[3];
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
