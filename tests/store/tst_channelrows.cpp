// Whole channel rows: the row commands move a channel's cells, label and
// three check values together and never the channel numbers; an emptied row
// is stored as a channel the radio file never held.

#include <QtTest>

#include "Fixtures.h"
#include "TestMain.h"
#include "model/MemoryGrid.h"
#include "model/clsChannel.h"
#include "store/ChannelRows.h"

using namespace tav;
using namespace tav::test;

namespace {

// Channel r's own content: distinct cells and a distinct set of check values.
ChannelRow content(int r) {
    ChannelRow row;
    row.cells = {QStringLiteral("%1.00000").arg(150 + r), QStringLiteral("0%1.0").arg(60 + r),
                 QStringLiteral("16%1.00000").arg(r % 10), QStringLiteral("D0%1").arg(10 + r),
                 QStringLiteral("CH %1").arg(r)};
    row.scan = r % 2;
    row.narrow = (r / 2) % 2;
    row.loPower = (r / 4) % 2;
    return row;
}

}  // namespace

class TestChannelRows : public QObject {
    Q_OBJECT

private slots:
    // command|its rows|whose content each of rows 0..13 holds afterwards (E: empty)
    void rowCommands_data() {
        textRows(
            "clear|4|0 1 2 3 E 5 6 7 8 9 10 11 12 13;"
            "insert|4|0 1 2 3 E 4 5 6 7 8 9 10 11 12;insert|0|E 0 1 2 3 4 5 6 7 8 9 10 11 12;"
            "insert|13|0 1 2 3 4 5 6 7 8 9 10 11 12 E;"
            "delete|4|0 1 2 3 5 6 7 8 9 10 11 12 13 E;delete|0|1 2 3 4 5 6 7 8 9 10 11 12 13 E;"
            "delete|13|0 1 2 3 4 5 6 7 8 9 10 11 12 E;"
            "fill|2 5 6 1 2 14 -1|0 1 2 3 4 2 2 7 8 9 10 11 12 13;"
            "fill|12 13|0 1 2 3 4 5 6 7 8 9 10 11 12 12");
    }
    void rowCommands() {
        QFETCH(QStringList, row);
        MemoryGrid grid;
        GroupControls controls;
        ChannelRows rows(grid, controls);
        for (int r = 0; r < 14; ++r) {
            grid.setCellText(0, r, QString::number(r + 1));
            rows.setRow(r, content(r));
        }
        QList<int> at;
        for (const QString& n : row[1].split(u' ')) at << n.toInt();
        if (row[0] == "clear") rows.clear(at[0]);
        if (row[0] == "insert") rows.insertAt(at[0]);
        if (row[0] == "delete") rows.removeAt(at[0]);
        if (row[0] == "fill") rows.fillDown(at[0], at.mid(1));
        const QStringList holds = row[2].split(u' ');
        for (int r = 0; r < 14; ++r) {
            const QString h = holds[r];
            QCOMPARE(rows.row(r), h == "E" ? ChannelRows::empty() : content(h.toInt()));
            QCOMPARE(rows.holdsData(r), h != "E");
            QCOMPARE(grid.cellText(0, r), QString::number(r + 1));
        }
    }

    // An emptied channel goes into the image as zeros, label cells blank,
    // its bits clear, and reads back as the same empty row.
    void emptyRowIsStoredAsAnEmptyChannel() {
        AppState image = randomImage(22);
        AppState zeros;
        MemoryGrid grid;
        GroupControls controls;
        ChannelRows(grid, controls).setRow(5, ChannelRows::empty());
        image.NewGroupIndex = zeros.NewGroupIndex = 2;
        image.NewChannelIndex = zeros.NewChannelIndex = 5;
        clsChannel(image, controls, grid).Write_Channel();
        clsChannel(zeros, controls, grid).Write_Channel();
        QCOMPARE(hexBytes(&image.EEImage[3 * 128 + 16 + 8 * 5], 8), "0000000000000000");
        MemoryGrid back;
        GroupControls backControls;
        clsChannel(image, backControls, back).Read_Channel();
        QCOMPARE(ChannelRows(back, backControls).row(5), ChannelRows::empty());
        QCOMPARE(ChannelRows::empty().cells[0], "none");
        for (int k = 0; k < 8; ++k) QCOMPARE(image.label(2, 5, k), zeros.label(2, 5, k));
    }
};

TAV_TEST_GUILESS(TestChannelRows);
#include "tst_channelrows.moc"
