// The trace of a serial line: one line per event, in order, with the time
// since the trace began, and a mark for every wait that ran out.

#include <QBuffer>
#include <QtTest>

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
    void hookAndRead();
    void timeoutIsMarkedOnce();
    void discardedInputShows();
};

void TestTracingSerialLink::hookAndRead() {
    TracedRig rig;
    rig.radio.eeprom()[6] = 0x5A;
    QVERIFY(rig.com.Hook());
    Word w{};
    QVERIFY(rig.com.ReadEEWord(6, w));
    rig.com.UnHook();
    QStringList expected{QStringLiteral("    0.000 OPEN")};
    for (int i = 0; i < 10; ++i) expected << QStringLiteral("    0.000 TX 00");
    expected << QStringLiteral("    0.000 TX 0A") << QStringLiteral("    0.000 TX 14")
             << QStringLiteral("    0.000 TX 28");
    // Thirteen bytes at 4800 baud, then the answer: 14 byte times.
    // Then two command bytes and the first answer: three more; then the second answer.
    expected << QStringLiteral("    0.029 RX 40") << QStringLiteral("    0.029 TX E1")
             << QStringLiteral("    0.029 TX 06") << QStringLiteral("    0.035 RX 5A")
             << QStringLiteral("    0.037 RX 00") << QStringLiteral("    0.037 TX 01")
             << QStringLiteral("    0.037 CLOSE");
    QCOMPARE(rig.lines(), expected);
}

void TestTracingSerialLink::timeoutIsMarkedOnce() {
    TracedRig rig;
    QVERIFY(rig.com.Hook());
    sim::FaultPlan silent;
    silent.silent = true;
    rig.radio.setFaults(silent);
    Word w{};
    QVERIFY(!rig.com.ReadEEWord(0, w));
    const QStringList lines = rig.lines();
    QCOMPARE(lines.filter(QStringLiteral("TIMEOUT")).size(), 1);
    QVERIFY(lines.last().endsWith(QStringLiteral(" TIMEOUT after 500 ms")));
    QCOMPARE(lines.last().left(9), QStringLiteral("    0.529"));
}

void TestTracingSerialLink::discardedInputShows() {
    TracedRig rig;
    QVERIFY(rig.tracer.open());
    rig.radio.transmitAt(0x33, rig.clock.now() + 0.001);
    rig.radio.transmitAt(0x44, rig.clock.now() + 0.002);
    rig.clock.advanceTo(rig.clock.now() + 0.01);
    rig.tracer.discardInput();
    rig.tracer.setBaudRate(9600);
    QCOMPARE(rig.tracer.waitingCount(), 0);
    QCOMPARE(rig.lines(), (QStringList{QStringLiteral("    0.000 OPEN"),
                                       QStringLiteral("    0.010 DISCARD 33 44"),
                                       QStringLiteral("    0.010 BAUD 9600")}));
}

TAV_TEST_GUILESS(TestTracingSerialLink);
#include "tst_tracingseriallink.moc"
