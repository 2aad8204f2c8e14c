#pragma once
// A bench of virtual radios behind one serial line, all inside the process:
// what a fleet station drives for practice instead of a serial device. The
// radios take turns as in VirtualFleet; each one that leaves is told with
// its memory as it left, so that a watcher can see what it was given.

#include <functional>

#include "app/Ports.h"
#include "sim/SimSerialLink.h"
#include "sim/VirtualFleet.h"
#include "sim/VirtualRadio.h"

namespace tav::sim {

class VirtualBench : public SerialLink {
public:
    // `wireTiming` charges each byte its time on a 4800-baud line; every
    // radio of the bench shows `faults`.
    VirtualBench(const FleetOptions& options, bool wireTiming, const FaultPlan& faults,
                 Clock& clock);

    // Radio K leaves ("released", "pulled"), holding what `radio` holds.
    void onLeave(std::function<void(int k, const QString& why, const VirtualRadio& radio)> tell);

    bool isOpen() const override { return line_.isOpen(); }
    bool open() override { return line_.open(); }
    void close() override { line_.close(); }
    OpenFailure lastOpenFailure() const override { return line_.lastOpenFailure(); }
    QString lastOpenError() const override { return line_.lastOpenError(); }
    void setBaudRate(int baud) override { line_.setBaudRate(baud); }
    int baudRate() const override { return line_.baudRate(); }
    void writeByte(uint8_t b) override { line_.writeByte(b); }
    int waitingCount() override { return line_.waitingCount(); }
    uint8_t readByte() override { return line_.readByte(); }
    void discardInput() override { line_.discardInput(); }
    void waitForInput(double seconds) override { line_.waitForInput(seconds); }

private:
    VirtualRadio radio_;
    VirtualFleet fleet_;
    SimSerialLink line_;
};

}  // namespace tav::sim
