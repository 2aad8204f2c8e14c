// The virtual radio on the line: wire timing, line speeds, the wake-up, fault
// items bound to a step of the protocol, the baud register, the loader and
// the label program (exact bytes or silence) and the label program's commands.

#include <QtTest>
#include <tuple>

#include "../radio/XferSupport.h"
#include "TestMain.h"
#include "sim/RadioImage.h"
#include "sim/VirtualFleet.h"

using namespace tav;
using namespace tav::test;
using sim::VirtualRadio;
using State = VirtualRadio::State;

namespace {

// Drives a radio byte by byte, one millisecond apart, and collects its answers.
struct Wire {
    VirtualRadio radio;
    double t = 0;
    int baud = 4800;

    Bytes send(const Bytes& bytes) {
        for (uint8_t b : bytes) {
            radio.lineIn(b, baud, t);
            t += 0.001 + VirtualRadio::byteTime(baud);
        }
        t += 0.05;
        Bytes got;
        while (const auto b = radio.takeDue(t, baud)) got.push_back(*b);
        return got;
    }
    void hook() {
        send(Bytes(10, 0x00));
        send({0x0A, 0x14, 0x28});
    }
    // Hooked, at 9600 baud, the loader written to RAM (byte `wrongAt` with a
    // bit off) and started at `start`.
    void startLoader(int wrongAt = -1, int start = 0xE1) {
        hook();
        send({0xD0, 0x0D, 0x30});
        baud = 9600;
        for (int i = 0; i < kLoader.size(); ++i)
            send(bytes({0xD0, 0xE0 + i, uint8_t(kLoader[i]) ^ (i == wrongAt)}));
        send(bytes({0xF0, start}));
    }
    // A program as the editor downloads it: load address, length, last byte first.
    void download(const QByteArray& program = kLabelProgram, int address = 0x52) {
        Bytes out = bytes({address, int(program.size())});
        out.insert(out.end(), program.rbegin(), program.rend());
        send(out);
    }
};

// A bench of radios taking turns, driven by whole sessions.
struct FleetWire {
    VirtualRadio radio;
    sim::VirtualFleet fleet;
    double t = 0;
    explicit FleetWire(const sim::FleetOptions& o) : fleet(radio, o) {}

    // "bare": hook and release; "read"/"write": hook, the word at 12, release;
    // "req": a wake-up and hook request alone. Whether the radio answered.
    bool session(const QString& step) {
        Bytes out = wakeAndHookRequest();
        if (step == "read") out = concat(out, bytes({0xE1, 0x0C}));
        if (step == "write") out = concat(out, bytes({0xE0, 0x0C, 0x5A, 0xA5}));
        if (step != "req") out.push_back(0x01);
        bool answered = false;
        for (uint8_t b : out) {
            fleet.lineIn(b, 4800, t);
            t += 0.01;
            answered |= radio.takeDue(t, 4800).has_value();
        }
        return answered;
    }
};

// loader byte off, start address, program byte off, load address, bytes left out; it runs.
using ProgramCase = std::tuple<int, int, int, int, int, bool>;

}  // namespace

class TestVirtualRadio : public QObject {
    Q_OBJECT

private slots:
    // `steps`: the sessions, one after another; `radios`: the radio on the
    // line after each (0: none), `answered`: 1 where a radio answered.
    void fleetTakesTurns_data() {
        textRows(
            "reads and probes keep it|bare read bare read|1 1 1 1|1 1 1 1|0;"
            "written, then probed: gone until a hook request went unanswered|"
            "write read bare req req|1 1 0 0 2|1 1 1 0 1|0;"
            "the last radio leaves the line silent|write bare req req|1 0 0 0|1 1 0 0|0;"
            "pulled in its 20th byte: the rest unanswered, then the next|read read req|"
            "1 2 2|1 0 1|20");
    }
    void fleetTakesTurns() {
        QFETCH(QStringList, row);
        sim::FleetOptions o;
        o.radios = row[1].count(u' ') > 3 || row[4] != "0" ? 2 : 1;
        o.swapSeconds = 0;
        o.seed = 40;
        if (row[4] != "0") o.pulls[1] = row[4].toLong();
        FleetWire wire(o);
        QStringList radios, answered;
        for (const QString& step : row[1].split(u' ')) {
            answered << QString::number(wire.session(step));
            radios << QString::number(wire.fleet.current());
        }
        QCOMPARE(radios.join(u' '), row[2]);
        QCOMPARE(answered.join(u' '), row[3]);
        if (wire.fleet.current() == 2) QVERIFY(wire.radio.eeprom() == sim::randomRadio(42).eeprom);
    }

    // Bytes written together queue on the line; answers queue behind each other.
    void bytesQueueOnTheLine() {
        VirtualRadio radio;
        for (uint8_t b : {0x00, 0x0A, 0x14, 0x28, 0xE1, 0x00}) radio.lineIn(b, 4800, 1.0);
        const auto& log = radio.wireLog();
        QCOMPARE(log.size(), std::size_t(9));
        const auto at = [](int bytes) { return 1.0 + bytes * 10.0 / 4800; };
        QCOMPARE(log[4].dir, sim::Direction::ToEditor);  // the id byte, once the request is in
        QVERIFY(qAbs(log[3].time - at(4)) < 1e-12 && qAbs(log[4].time - at(5)) < 1e-12);
        // The word read arrives at 6 byte times; its replies wait for the line to be free.
        QVERIFY(qAbs(log[7].time - at(7)) < 1e-12 && qAbs(log[8].time - at(8)) < 1e-12);
        QVERIFY(!radio.takeDue(at(5) - 1e-9, 4800));
        QCOMPARE(radio.takeDue(log[4].time, 4800), std::optional<uint8_t>(sim::kDefaultIdByte));
    }

    // A byte sent at a speed other than the receiver's is garbage to it.
    void otherSpeedIsGarbage() {
        RadioRig rig;
        rig.link.setBaudRate(9600);
        rig.com.Timeout = 0.1f;
        QVERIFY(!rig.com.Hook());
        QCOMPARE(rig.radio.state(), State::Idle);
        for (const sim::WireEvent& e : rig.radio.wireLog()) QVERIFY(e.garbled && e.baud == 9600);
        rig.link.setBaudRate(4800);
        QVERIFY(rig.hook());
        rig.link.writeByte(0xE1);
        rig.link.writeByte(0x00);
        rig.link.setBaudRate(9600);  // before the answer is back
        uint8_t c = 0;
        QVERIFY(!rig.com.WaitForComChar(c));
        int garbled = 0;
        for (const sim::WireEvent& e : rig.radio.wireLog())
            garbled += e.dir == sim::Direction::ToEditor && e.garbled;
        QCOMPARE(garbled, 2);
    }

    // A late answer misses the wait but still comes, for whoever reads next.
    void slowRepliesMissTheTimeout() {
        RadioRig rig;
        QVERIFY(rig.hook());
        rig.radio.setFaults(faults("slow=600"));
        Word w{};
        QVERIFY(!rig.com.ReadEEWord(0x10, w));
        rig.com.delay(200);
        QCOMPARE(rig.link.waitingCount(), 2);
    }

    // Any 0x00 wakes the radio (the tuning window sends five); without one the
    // hook request goes unanswered. Released, the radio ignores memory commands.
    void wakeUpAndRelease() {
        for (int zeros : {0, 5}) {
            VirtualRadio radio;
            for (int i = 0; i < zeros; ++i) radio.lineIn(0x00, 4800, 0.0);
            for (uint8_t b : {0x0A, 0x14, 0x28}) radio.lineIn(b, 4800, 0.0);
            QCOMPARE(radio.sent().size(), std::size_t(zeros ? 1 : 0));
            QCOMPARE(radio.state() == State::Hooked, zeros > 0);
        }
        RadioRig rig;
        QVERIFY(rig.hook());
        rig.com.UnHook();
        QVERIFY(rig.com.OpenComm());
        Word w{};
        QVERIFY(!rig.com.ReadEEWord(0x10, w));
        QVERIFY(!rig.com.WriteEEWord(12, 1, 2));
        QVERIFY(rig.radio.eepromWrites().empty());
    }

    void faultSpec_data() {
        QTest::addColumn<QString>("faults");
        QTest::addColumn<QString>("canonical");  // empty: refused
        QTest::newRow("silent, id decimal") << "id=67, silent"
                                            << "silent,id=0x43";
        QTest::newRow("items in their order")
            << "slow=600,drop-echo=1,corrupt-reply=9,silent,id=0xf2"
            << "silent,id=0xf2,corrupt-reply=9,drop-echo=1,slow=600";
        QTest::newRow("step and range") << "drop-reply=label:6-9"
                                        << "drop-reply=label:6-9";
        QTest::newRow("repeated") << "drop-echo=2,drop-echo=5"
                                  << "drop-echo=2,drop-echo=5";
        QTest::newRow("corrupt-in") << "corrupt-in=loader:40,slow=3"
                                    << "corrupt-in=loader:40,slow=3";
        QTest::newRow("stuck words") << "stuck=0x7ff,stuck=134"
                                     << "stuck=0x7ff,stuck=0x086";
        for (const char* bad :
             {"", "noisy", "id=0x100", "id", "drop-echo=two", "silent,slow=-5", "drop-reply=tune:3",
              "drop-echo=ram:0", "corrupt-reply=5-3", "corrupt-in=", "stuck=0x800"})
            QTest::addRow("bad: %s", bad) << bad << QString();
    }
    void faultSpec() {
        QFETCH(QString, faults);
        QFETCH(QString, canonical);
        sim::FaultPlan plan, again;
        QString why;
        QCOMPARE(sim::FaultPlan::parse(faults, plan, &why), !canonical.isEmpty());
        QCOMPARE(why.isEmpty(), !canonical.isEmpty());
        QCOMPARE(plan.toString(), canonical);
        QVERIFY(sim::FaultPlan::parse(plan.toString(), again) || canonical.isEmpty());
        QCOMPARE(again, canonical.isEmpty() ? sim::FaultPlan{} : plan);
    }

    // ram:2 is the second loader byte's echo: the baud register's echo counts apart.
    void faultsWithinAStep() {
        Wire w;
        w.radio.setFaults(faults("drop-echo=ram:2,corrupt-reply=baud:1"));
        w.hook();
        QCOMPARE(w.send({0xD0, 0x0D, 0x30}), Bytes{0x30});
        w.baud = 9600;
        QCOMPARE(w.send({0x28}), Bytes{uint8_t(~sim::kDefaultIdByte)});
        QCOMPARE(w.send({0xD0, 0xE0, 0x9C}), Bytes{0x9C});
        QVERIFY(w.send({0xD0, 0xE1, 0xAD}).empty());
        QCOMPARE(w.send({0xD0, 0xE2, 0x10}), Bytes{0x10});
    }
};

class TestRadioPrograms : public QObject {
    Q_OBJECT

private slots:
    // 0x30 and 0x31 switch to 9600 and 4800 after the echo, which leaves at the
    // old speed; the radio then hears only its new speed and answers the check
    // with one byte. Any other value crashes it until it is powered off.
    void baudRegister() {
        for (int value : {0x30, 0x31, 0x32}) {
            const int baud = value == 0x30 ? 9600 : 4800;
            Wire w;
            w.hook();
            QCOMPARE(w.send(bytes({0xD0, 0x0D, value})), bytes({value}));
            QCOMPARE(w.radio.state(), value == 0x32 ? State::Crashed : State::Hooked);
            w.baud = 14400 - baud;
            QVERIFY(w.send({0x28}).empty());
            w.baud = baud;
            QCOMPARE(w.send({0x28}).size(), std::size_t(value == 0x32 ? 0 : 1));
            w.radio.powerCycle();
            QCOMPARE(w.radio.state(), State::Idle);
        }
    }

    // The loader and the label program must come exactly and be started where
    // they begin; anything else crashes the radio into silence.
    void programsMustBeExact_data() {
        QTest::addColumn<ProgramCase>("c");
        QTest::newRow("exact") << ProgramCase{-1, 0xE1, -1, 0x52, 0, true};
        QTest::newRow("loader byte 0 wrong") << ProgramCase{0, 0xE1, -1, 0x52, 0, false};
        QTest::newRow("loader byte 24 wrong") << ProgramCase{24, 0xE1, -1, 0x52, 0, false};
        QTest::newRow("loader started at 0xE0") << ProgramCase{-1, 0xE0, -1, 0x52, 0, false};
        QTest::newRow("program byte 0 wrong") << ProgramCase{-1, 0xE1, 0, 0x52, 0, false};
        QTest::newRow("program byte 139 wrong") << ProgramCase{-1, 0xE1, 139, 0x52, 0, false};
        QTest::newRow("program at 0x53") << ProgramCase{-1, 0xE1, -1, 0x53, 0, false};
        QTest::newRow("program one byte short") << ProgramCase{-1, 0xE1, -1, 0x52, 1, false};
    }
    void programsMustBeExact() {
        QFETCH(ProgramCase, c);
        const auto& [loaderWrong, start, programWrong, address, drop, runs] = c;
        Wire w;
        w.startLoader(loaderWrong, start);
        QCOMPARE(w.radio.state(),
                 loaderWrong < 0 && start == 0xE1 ? State::Loader : State::Crashed);
        QByteArray program = kLabelProgram;
        if (programWrong >= 0) program[programWrong] = char(program[programWrong] ^ 0x80);
        program.chop(drop);
        w.download(program, address);
        QCOMPARE(w.radio.state(), runs ? State::LabelProgram : State::Crashed);
        QCOMPARE(w.send({0x02, 0x01, 0x28, 0x00}).size(), std::size_t(runs ? 2 : 0));
    }

    // Control writes answer nothing and are remembered; malformed commands are
    // ignored; two 0x00 in a row end the program, anything between starts the
    // pair again; back in the monitor the baud register returns it to 4800.
    void labelProgramCommands() {
        Wire w;
        w.startLoader();
        w.download();
        QVERIFY(w.send({0x03, 0x00, 0x60, 0xF6, 0x00}).empty());
        QCOMPARE(w.radio.labelControls(), (std::vector<VirtualRadio::LabelControl>{{0xF6, 0x00}}));
        QVERIFY(w.send({0x02, 0x00, 0x28, 0x00}).empty());
        QVERIFY(w.send({0x03, 0x01, 0x28, 0x00, 0x11}).empty());
        QCOMPARE(w.radio.labels()[0], uint8_t{0});
        w.send({0x00});
        w.send({0x02, 0x01, 0x28, 0x00});
        w.send({0x00});
        QCOMPARE(w.radio.state(), State::LabelProgram);
        w.send({0x00});
        QCOMPARE(w.radio.state(), State::Hooked);
        QCOMPARE(w.send({0xD0, 0x0D, 0x31}), Bytes{0x31});
        w.baud = 4800;
        QCOMPARE(w.send({0x28}).size(), std::size_t{1});
    }
};

TAV_TEST_GUILESS(TestVirtualRadio);
TAV_TEST_GUILESS(TestRadioPrograms);
#include "tst_virtualradio.moc"
