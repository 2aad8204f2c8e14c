#include <QtTest>

#include "TestMain.h"
#include "model/ControlLists.h"

using namespace tav;

// The stored radio value is the list index, so each entry's position matters.
class TestControlLists : public QObject {
    Q_OBJECT

private slots:
    void entries_data() {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<int>("size");
        QTest::addColumn<QStringList>("firstTwo");
        QTest::addColumn<QString>("last");
        QTest::newRow("scan hold")
            << lists::scanHoldTimes() << 16 << QStringList{"0.0", "0.5"} << "7.5";
        QTest::newRow("time-out") << lists::timeOutTimes() << 16 << QStringList{"OFF", "15"}
                                  << "225";
        QTest::newRow("busy channel")
            << lists::busyChannel() << 4 << QStringList{"OFF", "Indicate"} << "Lockout";
        QTest::newRow("ANI/DTMF") << lists::aniDtmf() << 4 << QStringList{"OFF", "DTMF Only"}
                                  << "DTMF w/ manual ANI";
        QTest::newRow("priority channel")
            << lists::priorityChannels() << 14 << QStringList{"Ch 1", "Ch 2"} << "Ch 14";
        QTest::newRow("UCG channel")
            << lists::ucgChannels() << 15 << QStringList{"OFF", "1"} << "14";
        QTest::newRow("backlight") << lists::backlightTimeouts() << 8
                                   << QStringList{"Always Off", "1 Second"} << "Always On";
        QTest::newRow("priority rate")
            << lists::priorityRates() << 16 << QStringList{".25", ".5"} << "4";
        QTest::newRow("DTMF deviation")
            << lists::dtmfDeviations() << 32 << QStringList{"0", " 187.5"} << "5812.5";
        QTest::newRow("porch") << lists::porchTimes() << 4 << QStringList{"30", "360"} << "1020";
    }
    void entries() {
        QFETCH(QStringList, list);
        QFETCH(int, size);
        QFETCH(QStringList, firstTwo);
        QFETCH(QString, last);
        QCOMPARE(list.size(), size);
        QCOMPARE(list.mid(0, 2), firstTwo);
        QCOMPARE(list.last(), last);
    }
};

TAV_TEST_GUILESS(TestControlLists);
#include "tst_controllists.moc"
