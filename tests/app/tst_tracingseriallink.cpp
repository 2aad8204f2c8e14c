// A serial line's trace: a line per event with its time, a mark per wait that ran out;
// the trace file: a heading per session, sessions appended to the file of the day.

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

#include "Fixtures.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "app/SerialTraceFile.h"
#include "app/TracingSerialLink.h"
#include "radio/clsTavCom.h"
#include "sim/SimSerialLink.h"
#include "sim/VirtualClock.h"
#include "sim/VirtualRadio.h"

using namespace tav;
using namespace tav::test;

namespace {
struct TracedRig {
    AppState state;
    sim::VirtualClock clock{50.0};
    sim::VirtualRadio radio;
    sim::SimSerialLink line{radio, clock};
    QBuffer out;
    TracingSerialLink tracer{line, clock, out};
    ScriptedPrompter prompter;
    NullProgress progress;
    clsTavCom com{LinkContext{state, tracer, clock, prompter, progress}};
    TracedRig() { out.open(QIODevice::WriteOnly); }
    QStringList lines() const {
        return QString::fromLatin1(out.data()).split('\n', Qt::SkipEmptyParts);
    }
};
}  // namespace

class TestSerialTrace : public QObject {
    Q_OBJECT

private slots:
    void hookAndRead() {
        TracedRig rig;
        rig.radio.eeprom()[6] = 0x5A;
        QVERIFY(rig.com.Hook());
        Word w{};
        QVERIFY(rig.com.ReadEEWord(6, w));
        rig.com.UnHook();
        // Thirteen bytes at 4800 baud, then the answer: 14 byte times. Then
        // two command bytes and the first answer: three more; then the second.
        QCOMPARE(QString::fromLatin1(rig.out.data()).remove("    ").replace(u'\n', u'|'),
                 "0.000 OPEN|" + QString("0.000 TX 00|").repeated(10) +
                     "0.000 TX 0A|0.000 TX 14|0.000 TX 28|0.029 RX 40|0.029 TX E1|0.029 TX 06|"
                     "0.035 RX 5A|0.037 RX 00|0.037 TX 01|0.037 CLOSE|");
    }

    void timeoutIsMarkedOnce() {
        TracedRig rig;
        QVERIFY(rig.com.Hook());
        rig.radio.setFaults(faultPlan("silent"));
        Word w{};
        QVERIFY(!rig.com.ReadEEWord(0, w));
        QCOMPARE(rig.lines().filter("TIMEOUT"), QStringList{"    0.529 TIMEOUT after 500 ms"});
        QVERIFY(rig.lines().last().contains("TIMEOUT"));
    }

    void discardedInputShows() {
        TracedRig rig;
        QVERIFY(rig.tracer.open());
        rig.radio.transmitAt(0x33, rig.clock.now() + 0.001);
        rig.radio.transmitAt(0x44, rig.clock.now() + 0.002);
        rig.clock.advanceTo(rig.clock.now() + 0.01);
        rig.tracer.discardInput();
        rig.tracer.setBaudRate(9600);
        QCOMPARE(rig.tracer.waitingCount(), 0);
        QCOMPARE(rig.lines(),
                 (QStringList{"    0.000 OPEN", "    0.010 DISCARD 33 44", "    0.010 BAUD 9600"}));
    }

    void fileSessionsAppendWithAHeading() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sub/trace.txt"));
        sim::VirtualClock clock(5.0);
        sim::VirtualRadio radio;
        sim::SimSerialLink port(radio, clock);
        SerialTraceFile trace;
        QString why;  // a folder is no trace file
        QVERIFY(!trace.start(port, clock, dir.path(), QStringLiteral("x"), &why) &&
                !why.isEmpty() && !trace.link());
        for (int session = 0; session < 2; ++session) {
            QVERIFY(trace.start(port, clock, path, QStringLiteral("Virtual radio")) &&
                    trace.path() == path);
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
};

TAV_TEST_GUILESS(TestSerialTrace);
#include "tst_tracingseriallink.moc"
