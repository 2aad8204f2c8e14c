#pragma once
// A serial line that writes down every byte sent and received, with the time
// in seconds since the trace began, and every wait that ran out:
//
//      12.345 TX 0A
//      12.400 RX 40
//      12.900 TIMEOUT after 500 ms
//
// Lines also note opening, closing, line speed changes and input thrown away.
// It wraps the real line (or any other) and changes nothing of its behaviour.

#include <QIODevice>
#include <optional>

#include "app/Ports.h"

namespace tav {

class TracingSerialLink : public SerialLink {
public:
    // `out` must outlive this object; lines are written as events happen.
    TracingSerialLink(SerialLink& inner, Clock& clock, QIODevice& out);

    bool isOpen() const override { return inner_.isOpen(); }
    bool open() override;
    void close() override;
    OpenFailure lastOpenFailure() const override { return inner_.lastOpenFailure(); }
    QString lastOpenError() const override { return inner_.lastOpenError(); }
    void setBaudRate(int baud) override;
    int baudRate() const override { return inner_.baudRate(); }
    void writeByte(uint8_t b) override;
    int waitingCount() override { return inner_.waitingCount(); }
    uint8_t readByte() override;
    void discardInput() override;
    void waitForInput(double seconds) override;

private:
    void line(const QString& event);
    void endWaiting();

    SerialLink& inner_;
    Clock& clock_;
    QIODevice& out_;
    const double start_;
    // When the current run of waits began; any traffic ends the run.
    std::optional<double> waitingSince_;
    bool timedOut_ = false;
};

}  // namespace tav
