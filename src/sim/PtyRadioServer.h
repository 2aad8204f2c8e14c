#pragma once
// Serves a VirtualRadio on a pseudo-terminal, so that the real serial-port
// code can talk to it through the slave device.
//
// The master side is raw (nothing echoed or line-buffered). The line speed
// the editor set on its side is read from the master, and bytes sent at a
// speed other than the radio's are garbage to it. A pseudo-terminal keeps no
// speed per byte: a byte counts at the speed in force when it is read here. A
// server held up (a busy machine) for longer than the editor's pause between
// its last byte and a speed change takes that byte at the new speed, and the
// radio may crash into silence over it, as a real one would over a lost byte. A pseudo-terminal moves
// bytes at memory speed; with timing on, the server charges the wire time
// itself, sleeping until each answer is due.
//
// Single-threaded: run() owns the radio until it returns.

#include <QString>
#include <chrono>
#include <functional>

#include "sim/VirtualRadio.h"

namespace tav::sim {

class PtyRadioServer {
public:
    PtyRadioServer(VirtualRadio& radio, bool timing);
    ~PtyRadioServer();
    PtyRadioServer(const PtyRadioServer&) = delete;
    PtyRadioServer& operator=(const PtyRadioServer&) = delete;

    // Creates the pseudo-terminal; false with a reason in `error` on failure.
    bool open(QString* error = nullptr);
    // The device path the editor opens, e.g. /dev/pts/3.
    QString slavePath() const { return slavePath_; }
    // Told once when the radio crashes into silence, with the reason: it
    // serves on, answering nothing, as a real radio would until powered off.
    void onCrash(std::function<void(const QString&)> tell) { tellCrash_ = std::move(tell); }
    // Hands the programming computer's bytes to `feed` instead of the radio
    // (a fleet that swaps the radio between them).
    using Feed = std::function<void(uint8_t b, int baud, double now)>;
    void setFeed(Feed feed) { feed_ = std::move(feed); }

    // Serves until `stopFd` becomes readable (a pipe written by a signal
    // handler or another thread), and returns true; -1 serves until an error.
    // False when the line or the system failed, with the reason in `why`.
    bool run(int stopFd, QString* why = nullptr);

private:
    double now() const;
    // Writes every radio byte that is due by now; returns when the next is due.
    std::optional<double> flushDue();
    void readEditorBytes();
    int editorBaud() const;
    // Records the first reason the serving must end.
    void fail(const QString& why);

    VirtualRadio& radio_;
    const std::chrono::steady_clock::time_point epoch_;
    int master_ = -1;
    int slave_ = -1;  // held open so the master never sees a hang-up between sessions
    QString slavePath_;
    QString failure_;
    std::function<void(const QString&)> tellCrash_;
    Feed feed_;
    bool crashTold_ = false;
};

}  // namespace tav::sim
