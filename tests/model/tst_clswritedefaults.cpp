#include <QtTest>

#include "Fixtures.h"
#include "TestMain.h"
#include "model/MemoryGrid.h"
#include "model/clsWriteDefaults.h"

using namespace tav;
using namespace tav::test;

namespace {
// Defaults written into every group of an image that held something else.
AppState defaultsOverRandom() {
    AppState s = randomImage(9);
    for (int16_t g = 0; g < kGroupCount; ++g) {
        s.NewGroupIndex = g;
        clsWriteDefaults(s).WriteGroup();
    }
    return s;
}
}  // namespace

class TestClsWriteDefaults : public QObject {
    Q_OBJECT

private slots:
    // 162.400 MHz plus 5 kHz a channel; every other byte of the record 0.
    void channelRecordBytes() {
        AppState s = defaultsOverRandom();
        for (int g = 0; g < 15; ++g)
            for (const auto& [chan, record] : {std::pair{0, "6240000000000000"},
                                               {1, "E240000000000000"},
                                               {12, "6246000000000000"},
                                               {13, "E246000000000000"}})
                QCOMPARE(hexBytes(&groupByte(s, g, 16 + 8 * chan), 8), QByteArray(record));
    }

    // The labels, and nothing but the records and the labels of the 15 groups.
    void labelCellsAndNothingElse() {
        const AppState s = defaultsOverRandom();
        AllowedBits ok;
        for (int g = 0; g < kGroupCount; ++g) {
            for (int a = 16; a < kPageSize; ++a) ok.eeBits(g + 1, a, 0xFF);
            for (int slot = 0; slot < 16; ++slot)
                for (int k = 0; k < 8; ++k) ok.labelBits(g, slot, k, 0xFF);
        }
        QCOMPARE(strayChanges(randomImage(9), s, ok), QString());
        // "Ch  1": C, h, blank, blank, 1, then blanks; "GROUP 15" fills all eight.
        const QList<int> ch1{0x18, 0x5E, 0x60, 0x60, 0x02, 0x60, 0x60, 0x60};
        const QList<int> group15{0x20, 0x36, 0x30, 0x3C, 0x32, 0x60, 0x02, 0x0A};
        for (int k = 0; k < 8; ++k) {
            QCOMPARE(int(s.label(0, 0, k)), ch1[k]);
            QCOMPARE(int(s.label(14, 14, k)), group15[k]);
            // Slot 15: zeros, then the backlight byte: alpha on, "Always Off", no triggers.
            QCOMPARE(int(s.label(5, 15, k)), k == 7 ? 1 : 0);
        }
        QCOMPARE(int(s.label(0, 14, 7)), 0x60);  // "GROUP 1" leaves one blank cell
    }

    void movesTheGridsCurrentCellWithoutWriting() {
        AppState s;
        MemoryGrid grid;
        s.NewGroupIndex = 3;
        clsWriteDefaults defaults(s, &grid);
        defaults.WriteChanAlpha(3, 6);
        QVERIFY(grid.currentColumn() == 5 && grid.currentRow() == 6);
        defaults.WriteGroup();
        QCOMPARE(grid.currentRow(), 13);
        for (int c = 0; c < 14; ++c)
            for (int col = 0; col < 6; ++col) QVERIFY(grid.cellText(col, c).isEmpty());
    }
};

TAV_TEST_GUILESS(TestClsWriteDefaults);
#include "tst_clswritedefaults.moc"
