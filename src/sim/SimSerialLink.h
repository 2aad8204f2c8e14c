#pragma once
// A serial port wired straight to a VirtualRadio, for in-process use. Time is
// whatever the given clock says: with a VirtualClock a wait jumps to the next
// byte's arrival (or the deadline) at no real cost; with a real clock it
// sleeps until then.

#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "app/Ports.h"
#include "sim/VirtualRadio.h"

namespace tav::sim {

// One step of the editor on the line: a byte it wrote, or a received byte it took.
struct LinkEvent {
    double time;
    bool sent;
};

class SimSerialLink : public SerialLink {
public:
    SimSerialLink(VirtualRadio& radio, Clock& clock) : radio_(radio), clock_(clock) {}

    // Makes every later open() fail the given way (None: opens again).
    void setOpenFailure(OpenFailure failure) { failOpen_ = failure; }
    int openCalls() const { return openCalls_; }
    // Hands every byte the editor sends to `feed` instead of the radio: a
    // virtual fleet decides which radio, if any, is on the line to hear it.
    void setFeed(std::function<void(uint8_t, int, double)> feed) { feed_ = std::move(feed); }
    // The editor's steps in order, with the clock's time, while the radio keeps
    // records: the pauses it makes between them are there to see.
    const std::vector<LinkEvent>& timeline() const { return timeline_; }

    bool isOpen() const override { return open_; }
    bool open() override;
    void close() override;
    OpenFailure lastOpenFailure() const override { return lastFailure_; }
    QString lastOpenError() const override;
    void setBaudRate(int baud) override;
    int baudRate() const override { return baud_; }
    void writeByte(uint8_t b) override;
    int waitingCount() override;
    uint8_t readByte() override;
    void discardInput() override;
    void waitForInput(double seconds) override;

private:
    // Moves every byte that has arrived by now into the input buffer (or
    // drops it when the port is closed).
    void collect();

    VirtualRadio& radio_;
    Clock& clock_;
    std::deque<uint8_t> input_;
    bool open_ = false;
    int baud_ = 4800;
    OpenFailure failOpen_ = OpenFailure::None;
    OpenFailure lastFailure_ = OpenFailure::None;
    int openCalls_ = 0;
    std::vector<LinkEvent> timeline_;
    std::function<void(uint8_t, int, double)> feed_;
};

}  // namespace tav::sim
