// The editor's serial trace file: a heading per session, the traffic of the
// wrapped port, sessions appended to the file of the day.

#include <QTemporaryDir>
#include <QtTest>

#include "Fixtures.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "app/SerialTraceFile.h"
#include "sim/SimSerialLink.h"
#include "sim/VirtualClock.h"
#include "sim/VirtualRadio.h"

using namespace tav;
using namespace tav::test;

class TestSerialTraceFile : public QObject {
    Q_OBJECT

private slots:
    void pathIsTheDayInTheUserDataFolder() {
        ScratchHome home;
        QCOMPARE(SerialTraceFile::pathFor(QDate(2026, 12, 6)),
                 home.path() + QStringLiteral("/data/TAVEDWIN/trace-2026-12-06.txt"));
    }

    void sessionsAppendWithAHeading() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sub/trace.txt"));
        sim::VirtualClock clock(5.0);
        sim::VirtualRadio radio;
        sim::SimSerialLink port(radio, clock);
        SerialTraceFile trace;
        QVERIFY(!trace.link());
        for (int session = 0; session < 2; ++session) {
            QVERIFY(trace.start(port, clock, path, QStringLiteral("Virtual radio")));
            QCOMPARE(trace.path(), path);
            SerialLink* link = trace.link();
            QVERIFY(link && link->open());
            link->writeByte(0x0A);
            link->close();
            trace.stop();
            QVERIFY(!trace.link() && !port.isOpen());
        }
        QString text = QString::fromUtf8(readFile(path));
        text.replace(QRegularExpression("^# .*trace of Virtual radio begins.*$",
                                        QRegularExpression::MultilineOption),
                     "begins");
        text.replace(QRegularExpression("^ +[0-9.]+ ", QRegularExpression::MultilineOption), "");
        QCOMPARE(
            text.split('\n', Qt::SkipEmptyParts),
            (QStringList{"begins", "OPEN", "TX 0A", "CLOSE", "begins", "OPEN", "TX 0A", "CLOSE"}));
    }

    void unwritablePathSaysWhy() {
        QTemporaryDir dir;
        sim::VirtualClock clock;
        sim::VirtualRadio radio;
        sim::SimSerialLink port(radio, clock);
        SerialTraceFile trace;
        QString why;
        QVERIFY(!trace.start(port, clock, dir.path(), QStringLiteral("x"), &why));
        QVERIFY(!why.isEmpty());
        QVERIFY(!trace.link());
    }
};

TAV_TEST_GUILESS(TestSerialTraceFile);
#include "tst_serialtracefile.moc"
