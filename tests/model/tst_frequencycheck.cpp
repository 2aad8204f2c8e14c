#include <QtTest>

#include "TestMain.h"
#include "model/FrequencyCheck.h"

using namespace tav;
using tav::test::textRows;

class TestFrequencyCheck : public QObject {
    Q_OBJECT

private slots:
    // Typed|verdict, an accepted entry's verdict the MHz it shows. Once on the
    // raster, short entries are read with three digits before the point; the
    // raster is judged as typed.
    void verdicts_data() {
        textRows(
            "155025|155.025;1550250|155.025;155.00625|155.00625;155.0025|155.0025;"
            "155.12000|155.12;0155.1|155.1;143|143;174|174; 162.4 |162.4;155.003125|OffRaster;"
            "155.001|OffRaster;180|OutOfBand;142.9975|OutOfBand;174.0025|OutOfBand;50|OutOfBand;"
            "15.5|155;16|160;1.6|160;1.55025|OffRaster;17.5|OutOfBand;0.00625|OutOfBand;0|Zero;"
            "0.00000|Zero;155.1234567|TooLong;155.0062500|155.00625;"
            "12345678901234567890123|TooLong;abc|NotNumeric;155.1.2|NotNumeric;-155|NotNumeric;"
            "1e3|NotNumeric;.|NotNumeric;|NotNumeric");
    }
    void verdicts() {
        QFETCH(QStringList, row);
        static const QStringList kVerdicts{"",        "Zero",      "NotNumeric",
                                           "TooLong", "OffRaster", "OutOfBand"};
        const GridFrequency f = CheckGridFrequency(row[0]);
        QCOMPARE(f.verdict == GridFrequency::Accepted ? f.mhz : kVerdicts[f.verdict], row[1]);
    }
};

TAV_TEST_GUILESS(TestFrequencyCheck);
#include "tst_frequencycheck.moc"
