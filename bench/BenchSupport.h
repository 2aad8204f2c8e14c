#pragma once
// What the transfer benchmarks share: the timed virtual radio served by
// `tavctl sim --timing`, the CPU clock, and the reference client.
//
// The reference client shows what the simulator and the pseudo-terminal cost,
// so that measured / reference is what our own code costs. The exchange a
// benchmark measures is first run in process on the virtual radio and the
// virtual clock and recorded as a script: the line opened and closed, its
// speed, the bytes sent, each byte awaited, each pause. A minimal client then
// plays the script on the same pseudo-terminal against the same simulator
// with plain POSIX calls (open, termios, write, poll, read): no Qt, no event
// loop, nothing between the line and the protocol.

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <QProcess>
#include <QString>
#include <QTextStream>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <string>
#include <vector>

#include "app/Ports.h"

namespace bench {

inline double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    const auto s = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return s(u.ru_utime) + s(u.ru_stime);
}

// How many times a benchmark runs its exchange and the reference's, one after
// the other, giving the best time of each: a shared machine delays single
// runs, seldom both of a pair the same way. BENCH_ROUNDS, 2 when not set.
inline int rounds() {
    return std::max(1, qEnvironmentVariableIsSet("BENCH_ROUNDS")
                           ? qEnvironmentVariableIntValue("BENCH_ROUNDS")
                           : 2);
}

// Starts `tavctl sim --timing` (TAVCTL names it) and returns the device it
// serves; empty when it could not be started.
inline QString startSimulator(QProcess& sim) {
    const QString tavctl = qEnvironmentVariable("TAVCTL");
    if (tavctl.isEmpty()) return {};
    sim.start(tavctl, {QStringLiteral("sim"), QStringLiteral("--timing")});
    if (!sim.waitForStarted(10000)) return {};
    while (!sim.canReadLine() && sim.waitForReadyRead(10000)) {
    }
    return QString::fromLocal8Bit(sim.readLine()).trimmed();
}

// Message boxes go to stderr, answered Cancel; a benchmark that shows one failed.
class StderrPrompter : public tav::Prompter {
public:
    explicit StderrPrompter(const char* who) : who_(who) {}
    tav::MsgResult show(const QString& text, const QString& title, tav::MsgButtons, tav::MsgIcon,
                        const QString& detail) override {
        QTextStream(stderr) << who_ << ": [" << title << "] " << text << ' ' << detail << '\n';
        ++shown;
        return tav::MsgResult::Cancel;
    }
    int shown = 0;

private:
    const char* who_;
};

// ------------------------------------------------------------------ the script

struct ScriptOp {
    enum Kind { Open, Close, Baud, Send, Await, Discard, Pause, Mark } kind;
    int value = 0;       // the byte sent, the line speed
    double seconds = 0;  // a pause
};
using Script = std::vector<ScriptOp>;

// The link's clock, recording every pause it is asked for. The line itself
// waits on the clock underneath, so a wait for a byte is not a pause.
class RecordingClock : public tav::Clock {
public:
    RecordingClock(tav::Clock& inner, Script& script) : inner_(inner), script_(script) {}
    double now() override { return inner_.now(); }
    void idleUntil(double deadline) override {
        const double left = deadline - inner_.now();
        if (left > 0) script_.push_back({ScriptOp::Pause, 0, left});
        inner_.idleUntil(deadline);
    }
    void sleepBlocking(int ms) override {
        script_.push_back({ScriptOp::Pause, 0, ms / 1000.0});
        inner_.sleepBlocking(ms);
    }
    void beep() override { inner_.beep(); }

private:
    tav::Clock& inner_;
    Script& script_;
};

// A line that counts the bytes sent and read and, given a script, records
// what the link does with it.
class RecordingLink : public tav::SerialLink {
public:
    RecordingLink(tav::SerialLink& inner, Script* script) : inner_(inner), script_(script) {}
    bool isOpen() const override { return inner_.isOpen(); }
    bool open() override {
        const bool opening = !inner_.isOpen();
        const bool ok = inner_.open();
        if (ok && opening) record({ScriptOp::Open});
        return ok;
    }
    void close() override {
        if (inner_.isOpen()) record({ScriptOp::Close});
        inner_.close();
    }
    QString lastOpenError() const override { return inner_.lastOpenError(); }
    void setBaudRate(int baud) override {
        record({ScriptOp::Baud, baud});
        inner_.setBaudRate(baud);
    }
    int baudRate() const override { return inner_.baudRate(); }
    void writeByte(uint8_t b) override {
        ++sent;
        record({ScriptOp::Send, b});
        inner_.writeByte(b);
    }
    int waitingCount() override { return inner_.waitingCount(); }
    uint8_t readByte() override {
        ++received;
        record({ScriptOp::Await});
        return inner_.readByte();
    }
    void discardInput() override {
        record({ScriptOp::Discard});
        inner_.discardInput();
    }
    void waitForInput(double seconds) override { inner_.waitForInput(seconds); }
    // Where the reference's timing starts or ends.
    void mark() { record({ScriptOp::Mark}); }

    long sent = 0, received = 0;

private:
    void record(const ScriptOp& op) {
        if (script_) script_->push_back(op);
    }
    tav::SerialLink& inner_;
    Script* script_;
};

// ---------------------------------------------------------- the reference client

namespace detail {

inline double monotonic() {
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

inline void sleepUntil(double deadline) {
    timespec at{};
    at.tv_sec = static_cast<time_t>(deadline);
    at.tv_nsec = static_cast<long>((deadline - std::floor(deadline)) * 1e9);
    while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
    }
}

class PosixLine {
public:
    explicit PosixLine(std::string path) : path_(std::move(path)) {}
    ~PosixLine() { close(); }
    bool open() {
        fd_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd_ < 0) return false;
        applySpeed();
        discard();
        return true;
    }
    void close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }
    void setSpeed(int baud) {
        baud_ = baud;
        if (fd_ >= 0) applySpeed();
    }
    void send(const std::vector<uint8_t>& bytes) {
        std::size_t done = 0;
        while (fd_ >= 0 && done < bytes.size()) {
            const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
            if (n > 0) done += static_cast<std::size_t>(n);
            if (n < 0 && errno != EAGAIN && errno != EINTR) return;
            if (n < 0 && errno == EAGAIN) {
                pollfd p{fd_, POLLOUT, 0};
                ::poll(&p, 1, 100);
            }
        }
    }
    // Waits up to `timeout` seconds for one byte.
    bool await(double timeout) {
        const double deadline = monotonic() + timeout;
        for (;;) {
            if (head_ < buffer_.size()) {
                ++head_;
                return true;
            }
            fill();
            if (head_ < buffer_.size()) continue;
            const double left = deadline - monotonic();
            if (left <= 0) return false;
            pollfd p{fd_, POLLIN, 0};
            ::poll(&p, 1, static_cast<int>(std::ceil(left * 1000)));
        }
    }
    void discard() {
        if (fd_ >= 0) ::tcflush(fd_, TCIFLUSH);
        fill();
        buffer_.clear();
        head_ = 0;
    }

private:
    void fill() {
        if (head_ == buffer_.size()) {
            buffer_.clear();
            head_ = 0;
        }
        uint8_t chunk[256];
        ssize_t n = 0;
        while (fd_ >= 0 && (n = ::read(fd_, chunk, sizeof chunk)) > 0)
            buffer_.insert(buffer_.end(), chunk, chunk + n);
    }
    void applySpeed() {
        termios t{};
        ::tcgetattr(fd_, &t);
        ::cfmakeraw(&t);
        t.c_cflag |= CLOCAL | CREAD;
        const speed_t s = baud_ == 9600 ? B9600 : B4800;
        ::cfsetispeed(&t, s);
        ::cfsetospeed(&t, s);
        ::tcsetattr(fd_, TCSANOW, &t);
    }
    std::string path_;
    int fd_ = -1;
    int baud_ = 4800;
    std::vector<uint8_t> buffer_;
    std::size_t head_ = 0;
};

}  // namespace detail

// Plays `script` on `device`. Returns the seconds between its two marks, or
// the whole script's when it has none; negative when an awaited byte did not
// come within half a second (the exchange went wrong).
inline double playScript(const QString& device, const Script& script) {
    detail::PosixLine line(device.toStdString());
    std::vector<double> marks;
    const double start = detail::monotonic();
    std::vector<uint8_t> out;
    for (std::size_t i = 0; i < script.size(); ++i) {
        const ScriptOp& op = script[i];
        switch (op.kind) {
            case ScriptOp::Open:
                if (!line.open()) return -1;
                break;
            case ScriptOp::Close:
                line.close();
                break;
            case ScriptOp::Baud:
                line.setSpeed(op.value);
                break;
            case ScriptOp::Send:
                // Bytes sent one after the other go in one write.
                out.push_back(static_cast<uint8_t>(op.value));
                if (i + 1 == script.size() || script[i + 1].kind != ScriptOp::Send) {
                    line.send(out);
                    out.clear();
                }
                break;
            case ScriptOp::Await:
                if (!line.await(0.5)) return -1;
                break;
            case ScriptOp::Discard:
                line.discard();
                break;
            case ScriptOp::Pause:
                detail::sleepUntil(detail::monotonic() + op.seconds);
                break;
            case ScriptOp::Mark:
                marks.push_back(detail::monotonic());
                break;
        }
    }
    if (marks.size() == 2) return marks[1] - marks[0];
    return detail::monotonic() - start;
}

}  // namespace bench
