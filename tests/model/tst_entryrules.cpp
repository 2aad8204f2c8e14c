// What the radio can hold, per kind of entry: the text it shows for an
// accepted entry, the reason for a refused one.

#include <QtTest>

#include "Fixtures.h"
#include "TestMain.h"
#include "model/EntryRules.h"

using namespace tav;
using namespace tav::test;

class TestEntryRules : public QObject {
    Q_OBJECT

private slots:
    // Kind (f frequency, g channel guard, l label)|typed|shown, or !reason
    // key. Frequencies as the grid reads them: 155025 is 155.025; once on
    // the raster, short entries have three digits before the point.
    void verdicts_data() {
        textRows(
            "f|155.0025|!hold;f|155.0075|!hold;f|1550025|!hold;f|155.00625|155.00625;"
            "f|155.0125|155.01250;f|155.0375|155.03750;f|155025|155.02500;f|1550250|155.02500;"
            "f|155.12000|155.12000;f|0155.1|155.10000;f|143|143.00000;f|174|174.00000;"
            "f| 162.4 |162.40000;f|15.5|155.00000;f|16|160.00000;f|1.6|160.00000;"
            "f|155.0062500|155.00625;f|none|none;f|NONE|none;f||none;f|0|none;f|0.00000|none;"
            "f|155.003125|!raster;f|155.001|!raster;f|1.55025|!raster;f|180|!band;"
            "f|142.9975|!band;f|174.0025|!band;f|50|!band;f|17.5|!band;f|0.00625|!band;"
            "f|155.1234567|!digits;f|12345678901234567890123|!digits;f|abc|!nf;f|155.1.2|!nf;"
            "f|-155|!nf;f|1e3|!nf;f|.|!nf;"
            "g|D999|!guard;g|D080|!guard;g|c|!guard;g|1600|!guard;g|800|!guard;g|D02|!guard;"
            "g|67.05|!guard;g|-67|!guard;g|d023-|D023-;g|D754|D754;g|67|067.0;g| 799.9 |799.9;"
            "g|0|000.0;g|none|000.0;g||000.0;"
            "l|lower~\u00e9{}|!~;l|ab\u00e9|!\u00e9;l|abcdefghi|!long;l|.A|!.;l|fire.2|FIRE.2;"
            "l|h H|h H;l|a.b.c.d.e.f.g.h.|A.B.C.D.E.F.G.h.;l|-*$/+%\\_|-*$/+%\\_;l|<> |<> ;l||");
    }
    void verdicts() {
        QFETCH(QStringList, row);
        const EntryVerdict v = row[0] == "f"   ? CheckFrequencyEntry(row[1])
                               : row[0] == "g" ? CheckGuardEntry(row[1])
                                               : CheckLabelEntry(row[1]);
        const bool refused = row[2].startsWith(u'!');
        QCOMPARE(
            (QStringList{v.normalized, v.reason}),
            refused ? (QStringList{"", entryReason(row[2].mid(1))}) : (QStringList{row[2], ""}));
        QCOMPARE(v.ok, !refused);
    }
};

TAV_TEST_GUILESS(TestEntryRules);
#include "tst_entryrules.moc"
