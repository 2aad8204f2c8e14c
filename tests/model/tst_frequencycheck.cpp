#include <QtTest>

#include "TestMain.h"
#include "model/FrequencyCheck.h"

using namespace tav;

class TestFrequencyCheck : public QObject {
    Q_OBJECT

private slots:
    void verdicts_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("verdict");
        QTest::addColumn<QString>("mhz");
        const auto row = [](const char* typed, GridFrequency::Verdict v, const char* mhz = "") {
            QTest::newRow(typed) << QString::fromLatin1(typed) << int(v)
                                 << QString::fromLatin1(mhz);
        };
        row("155025", GridFrequency::Accepted, "155.025");
        row("1550250", GridFrequency::Accepted, "155.025");
        row("155.00625", GridFrequency::Accepted, "155.00625");
        row("155.0025", GridFrequency::Accepted, "155.0025");  // 2.5 kHz raster
        row("155.12000", GridFrequency::Accepted, "155.12");
        row("0155.1", GridFrequency::Accepted, "155.1");
        row("143", GridFrequency::Accepted, "143");
        row("174", GridFrequency::Accepted, "174");
        row(" 162.4 ", GridFrequency::Accepted, "162.4");
        row("155.003125", GridFrequency::OffRaster);
        row("155.001", GridFrequency::OffRaster);
        row("180", GridFrequency::OutOfBand);
        row("142.9975", GridFrequency::OutOfBand);
        row("174.0025", GridFrequency::OutOfBand);
        row("50", GridFrequency::OutOfBand);
        row("0", GridFrequency::Zero);
        row("0.00000", GridFrequency::Zero);
        row("155.1234567", GridFrequency::TooLong);
        row("155.0062500", GridFrequency::Accepted, "155.00625");  // trailing zeros dropped
        row("12345678901234567890123", GridFrequency::TooLong);
        row("abc", GridFrequency::NotNumeric);
        row("155.1.2", GridFrequency::NotNumeric);
        row("-155", GridFrequency::NotNumeric);
        row("1e3", GridFrequency::NotNumeric);
        row(".", GridFrequency::NotNumeric);
        row("", GridFrequency::NotNumeric);
    }
    void verdicts() {
        QFETCH(QString, typed);
        QFETCH(int, verdict);
        QFETCH(QString, mhz);
        const GridFrequency f = CheckGridFrequency(typed);
        QCOMPARE(int(f.verdict), verdict);
        if (verdict == GridFrequency::Accepted) QCOMPARE(f.mhz, mhz);
    }
};

TAV_TEST_GUILESS(TestFrequencyCheck);
#include "tst_frequencycheck.moc"
