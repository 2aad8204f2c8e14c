#include <QtTest>

#include "TestMain.h"
#include "ModelFixtures.h"
#include "model/MemoryGrid.h"
#include "model/clsGroup.h"
#include "model/clsWriteDefaults.h"

using namespace tav;

namespace {
// What the main window does at start-up: defaults into all 15 groups.
void writeAllDefaults(AppState& s, ChannelGrid* grid) {
    for (int16_t g = 0; g < kGroupCount; ++g) {
        s.NewGroupIndex = g;
        clsWriteDefaults(s, grid).WriteGroup();
    }
}
}  // namespace

class TestClsWriteDefaults : public QObject {
    Q_OBJECT

private slots:
    void channelRecordBytes_data() {
        QTest::addColumn<int>("chan");
        QTest::addColumn<int>("b1");
        QTest::addColumn<int>("b2");
        QTest::newRow("channel 1") << 0 << 0x62 << 0x40;
        QTest::newRow("channel 2") << 1 << 0xE2 << 0x40;
        QTest::newRow("channel 13") << 12 << 0x62 << 0x46;
        QTest::newRow("channel 14") << 13 << 0xE2 << 0x46;
    }
    void channelRecordBytes() {
        QFETCH(int, chan);
        QFETCH(int, b1);
        QFETCH(int, b2);
        AppState s;
        s.EEImage.fill(0xEE);
        writeAllDefaults(s, nullptr);
        for (int g = 0; g < 15; ++g) {
            const int a = (g + 1) * 128 + 16 + 8 * chan;
            QCOMPARE(int(s.EEImage[std::size_t(a)]), b1);
            QCOMPARE(int(s.EEImage[std::size_t(a + 1)]), b2);
            for (int i = 2; i < 8; ++i) QCOMPARE(int(s.EEImage[std::size_t(a + i)]), 0);
        }
    }

    void groupsShowTheDefaults() {
        AppState s;
        writeAllDefaults(s, nullptr);
        for (int16_t g = 0; g < kGroupCount; ++g) {
            GroupControls controls;
            MemoryGrid grid;
            s.NewGroupIndex = g;
            clsGroup(s, controls, grid).Read_Group();
            for (int c = 0; c < 14; ++c) {
                const QString freq =
                    QStringLiteral("162.4%1").arg(c * 500, 4, 10, QLatin1Char('0'));
                QCOMPARE(grid.cellText(1, c), freq);
                QCOMPARE(grid.cellText(2, c), QStringLiteral("000.0"));
                QCOMPARE(grid.cellText(3, c), QStringLiteral("none"));
                QCOMPARE(grid.cellText(4, c), QStringLiteral("000.0"));
                QCOMPARE(grid.cellText(5, c), QStringLiteral("Ch  %1").arg(c + 1).leftJustified(8));
            }
            QCOMPARE(controls.txtGroupLabel,
                     QStringLiteral("GROUP %1").arg(g + 1).leftJustified(8));
            QCOMPARE(controls.chkAlphaEnabled, 1);
            QCOMPARE(controls.cboBlTimeout, 0);
            QCOMPARE(controls.chkBlChannel + controls.chkBlKeypress + controls.chkBlOther +
                         controls.chkBLScanState,
                     0);
        }
        QCOMPARE(s.EEImage[1 * 128 + 16 + 8 * 13 + 1], uint8_t(0x46));
    }

    void labelCells() {
        AppState s;
        writeAllDefaults(s, nullptr);
        // "Ch  1": C, h, blank, blank, 1, then blanks.
        const QList<int> ch1{0x18, 0x5E, 0x60, 0x60, 0x02, 0x60, 0x60, 0x60};
        const QList<int> group15{0x20, 0x36, 0x30, 0x3C, 0x32, 0x60, 0x02, 0x0A};
        for (int k = 0; k < 8; ++k) {
            QCOMPARE(int(s.label(0, 0, k)), ch1[k]);
            QCOMPARE(int(s.label(14, 14, k)), group15[k]);
            QCOMPARE(int(s.label(5, 15, k)), k == 7 ? 1 : 0);
        }
        QCOMPARE(int(s.label(0, 14, 7)), 0x60);  // "GROUP 1" leaves one blank cell
    }

    void writesNothingElse() {
        for (quint32 seed = 1; seed <= 5; ++seed) {
            AppState s;
            test::randomFill(s, seed);
            const AppState before = s;
            const int16_t g = int16_t(seed * 3 % 15);
            s.NewGroupIndex = g;
            clsWriteDefaults(s).WriteGroup();
            test::AllowedBits ok;
            for (int a = 16; a < 128; ++a) ok.eeBits(g + 1, a, 0xFF);
            for (int slot = 0; slot < 16; ++slot)
                for (int k = 0; k < 8; ++k) ok.labelBits(g, slot, k, 0xFF);
            QCOMPARE(test::strayChanges(before, s, ok), QString());
        }
    }

    void movesTheGridsCurrentCellWithoutWriting() {
        AppState s;
        MemoryGrid grid;
        s.NewGroupIndex = 3;
        clsWriteDefaults defaults(s, &grid);
        defaults.WriteChanAlpha(3, 6);
        QCOMPARE(grid.currentColumn(), 5);
        QCOMPARE(grid.currentRow(), 6);
        defaults.WriteGroup();
        QCOMPARE(grid.currentRow(), 13);
        for (int c = 0; c < 14; ++c)
            for (int col = 0; col < 6; ++col) QVERIFY(grid.cellText(col, c).isEmpty());
    }
};

TAV_TEST_GUILESS(TestClsWriteDefaults);
#include "tst_clswritedefaults.moc"
