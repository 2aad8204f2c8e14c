// The trace of a serial line: one line per event, in order, with the time
// since the trace began, and a mark for every wait that ran out.

#include <QBuffer>
#include <QtTest>

#include "Fixtures.h"
#include "TestMain.h"
#include "TestSupport.h"
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

class TestTracingSerialLink : public QObject {
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
        QStringList expected{"0.000 OPEN"};
        for (int i = 0; i < 10; ++i) expected << "0.000 TX 00";
        expected << "0.000 TX 0A"
                 << "0.000 TX 14"
                 << "0.000 TX 28"
                 << "0.029 RX 40"
                 << "0.029 TX E1"
                 << "0.029 TX 06"
                 << "0.035 RX 5A"
                 << "0.037 RX 00"
                 << "0.037 TX 01"
                 << "0.037 CLOSE";
        QCOMPARE(rig.lines(), expected.replaceInStrings(QRegularExpression("^"), "    "));
    }

    void timeoutIsMarkedOnce() {
        TracedRig rig;
        QVERIFY(rig.com.Hook());
        rig.radio.setFaults(faultPlan("silent"));
        Word w{};
        QVERIFY(!rig.com.ReadEEWord(0, w));
        const QStringList lines = rig.lines();
        QCOMPARE(lines.filter(QStringLiteral("TIMEOUT")).size(), 1);
        QCOMPARE(lines.last(), QStringLiteral("    0.529 TIMEOUT after 500 ms"));
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
};

TAV_TEST_GUILESS(TestTracingSerialLink);
#include "tst_tracingseriallink.moc"
