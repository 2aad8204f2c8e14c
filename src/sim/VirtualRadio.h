#pragma once
// The radio as the editor sees it on the serial line: a byte-driven state
// machine with its EEPROM, RAM, label memory and identification byte, and a
// model of the line's timing.
//
// Timing: every byte costs 10 bit times at its sender's line speed. Bytes from
// the editor queue behind each other on the line; the radio acts on a byte only
// once it has fully arrived, and its answers queue behind each other on the way
// back. A byte sent at a speed other than the receiver's is garbage to the
// receiver and is ignored, as a real UART would.
//
// Whoever carries the bytes (SimSerialLink in process, PtyRadioServer on a
// pseudo-terminal) hands the editor's bytes to lineIn() with the time they
// were sent, and collects the radio's bytes with takeDue() once they are due.
//
// Extending the protocol: the radio's behaviour is a small state enum with one
// handler per state (onIdleByte, onHookedByte, ...); commands understood while
// hooked are entries of a table indexed by their first byte (installCommands)
// giving the command's length and its handler. onRamWritten() is called after
// every RAM byte write, the place to react to a write of a control register.
//
// Beyond the EEPROM words the radio runs programs: a RAM write of 0x30 or 0x31
// to its baud register 0x0D switches it to 9600 or 4800 baud (after echoing),
// and 0x28 asks for one byte at the new speed. A loader written byte by byte
// into RAM from 0xE0 and started with 0xF0, 0xE1 receives a program (load
// address, length, bytes from the last down) and starts it; the label program
// then answers label reads and writes until it hears two 0x00 in a row. Like
// a real radio, it crashes into silence on a wrong baud code, a wrong loader
// byte or a wrong program byte, until it is powered off.

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <utility>
#include <vector>

#include "model/AppState.h"
#include "sim/FaultPlan.h"

namespace tav::sim {

constexpr int kRadioRamSize = 256;
constexpr int kLabelMemorySize = 2048;
constexpr uint8_t kDefaultIdByte = 0x40;

enum class Direction { ToRadio, ToEditor };

struct WireEvent {
    double time;  // when the byte's last bit reached its receiver
    Direction dir;
    uint8_t value;         // as put on the line (after any injected corruption)
    int baud;              // the sender's line speed
    bool garbled = false;  // the receiver listened at another speed: lost
    bool dropped = false;  // fault injection kept it off the line altogether
};

struct EEWrite {
    uint16_t address;  // even
    uint8_t hi, lo;
};

class VirtualRadio {
public:
    // Away: taken off the bench (released for good, or pulled); hears nothing.
    enum class State { Idle, Hooked, Loader, LabelProgram, Crashed, Away };
    using LabelControl = std::pair<uint8_t, uint8_t>;
    using Bytes = std::vector<uint8_t>;

    explicit VirtualRadio(const FaultPlan& faults = {});

    // ---- memories and identity
    std::array<uint8_t, kEEPromSize>& eeprom() { return eeprom_; }
    const std::array<uint8_t, kEEPromSize>& eeprom() const { return eeprom_; }
    std::array<uint8_t, kRadioRamSize>& ram() { return ram_; }
    std::array<uint8_t, kLabelMemorySize>& labels() { return labels_; }
    uint8_t idByte() const { return idByte_; }
    void setIdByte(uint8_t id) { idByte_ = id; }
    // The identification byte actually sent: the fault plan's, if it has one.
    uint8_t effectiveIdByte() const { return faults_.id.value_or(idByte_); }

    State state() const { return state_; }
    // What made the radio crash into silence, while it is crashed.
    const QString& crashReason() const { return crashReason_; }
    int baud() const { return baud_; }
    void setBaud(int baud) { baud_ = baud; }
    // Back to the state after power-on: idle, 4800 baud, nothing pending.
    void powerCycle();
    // Taken off the line: answers nothing more, and what it was about to send is lost.
    void leave();
    // Whether the programming computer has let the radio go for good: a hook
    // directly followed by the release byte (nothing asked between them), once
    // an EEPROM word or a label character has been written to it. Every read,
    // write and label transfer asks something while hooked; a bare hook is
    // what a station does to see whether the radio is still there.
    bool releasedForGood() const { return releasedForGood_; }

    const FaultPlan& faults() const { return faults_; }
    void setFaults(const FaultPlan& faults) { faults_ = faults; }

    // With wire timing off, bytes cost no time at all (a pseudo-terminal
    // served without --timing); the slow fault still applies.
    void setWireTiming(bool on) { wireTiming_ = on; }
    bool wireTiming() const { return wireTiming_; }
    static double byteTime(int baud) { return 10.0 / baud; }

    // ---- the line
    // The editor put `b` on the line at `now`, at `senderBaud`.
    void lineIn(uint8_t b, int senderBaud, double now);
    // When the next byte to the editor finishes arriving, if any is on its way.
    std::optional<double> nextDue() const;
    // The next byte to the editor that has arrived by `now`; bytes sent at a
    // speed other than `receiverBaud` are garbage to the receiver and skipped.
    std::optional<uint8_t> takeDue(double now, int receiverBaud);
    // Puts a byte on the line to the editor that arrives at `due`, outside any
    // command (line noise, a late answer): for tests.
    void transmitAt(uint8_t b, double due);

    // ---- records
    // Turn off for a long-running server; on by default.
    void setRecording(bool on) { recording_ = on; }
    bool recording() const { return recording_; }
    Bytes received() const;  // every byte the editor put on the line, in order
    Bytes sent() const;      // every byte the radio put on the line, in order
    const std::vector<WireEvent>& wireLog() const { return log_; }
    const std::vector<EEWrite>& eepromWrites() const { return eeWrites_; }
    void clearRecords();
    int replyCount() const { return replies_; }
    int echoCount() const { return echoes_; }
    // The control writes (x, y) the label program received.
    const std::vector<LabelControl>& labelControls() const { return labelControls_; }

private:
    struct Command {
        int length = 0;  // total bytes including the first; 0: not a command
        void (VirtualRadio::*run)(const Bytes&) = nullptr;
    };
    struct Outgoing {
        double due;
        uint8_t value;
        int baud;
        std::size_t logIndex;
    };

    void installCommands();
    void setCommand(uint8_t first, int length, void (VirtualRadio::*run)(const Bytes&));

    // One handler per state.
    void onIdleByte(uint8_t b);
    void onHookedByte(uint8_t b);
    void onLoaderByte(uint8_t b);
    void onLabelByte(uint8_t b);
    // Collects a command of `table` byte by byte and runs it once complete.
    void onCommandByte(uint8_t b, const std::array<Command, 256>& table);

    // Commands understood while hooked.
    void cmdWake(const Bytes& c);
    void cmdHookRequest(const Bytes& c);
    void cmdRelease(const Bytes& c);
    void cmdReadWord(const Bytes& c);
    void cmdWriteWord(const Bytes& c);
    void cmdWriteRam(const Bytes& c);
    void cmdBaudCheck(const Bytes& c);
    void cmdStartLoader(const Bytes& c);

    // Commands of the label program.
    void cmdLabelRead(const Bytes& c);
    void cmdLabelWrite(const Bytes& c);
    void cmdLabelEnd(const Bytes& c);

    void finishDownload();
    void crash(const QString& why);
    Phase inputPhase() const;

    // Called after every RAM byte write.
    void onRamWritten(uint8_t address, uint8_t value);

    // An answer, counted for the reply faults, and a repeat of received data,
    // counted for the echo faults; both also counted within their step.
    void reply(uint8_t b, Phase phase);
    void echo(uint8_t b, Phase phase);
    void transmit(uint8_t b, bool drop, bool corrupt);
    std::size_t record(const WireEvent& e);

    std::array<uint8_t, kEEPromSize> eeprom_{};
    std::array<uint8_t, kRadioRamSize> ram_{};
    std::array<uint8_t, kLabelMemorySize> labels_{};
    uint8_t idByte_ = kDefaultIdByte;
    FaultPlan faults_;
    State state_ = State::Idle;
    QString crashReason_;
    int baud_ = 4800;
    bool wireTiming_ = true;

    // Wake-up and hook request detection while idle.
    bool awake_ = false;
    int hookMatched_ = 0;
    // Hooked command being collected.
    std::array<Command, 256> commands_{};
    std::array<Command, 256> labelCommands_{};
    Command current_;
    Bytes cmd_;

    double now_ = 0.0;           // arrival time of the byte being handled
    double toRadioFree_ = 0.0;   // when the editor-to-radio line is next free
    double toEditorFree_ = 0.0;  // when the radio-to-editor line is next free
    std::deque<Outgoing> out_;

    bool recording_ = true;
    std::vector<WireEvent> log_;
    std::vector<EEWrite> eeWrites_;
    int replies_ = 0;
    int echoes_ = 0;
    int inputs_ = 0;
    std::array<int, kPhaseCount> phaseReplies_{};
    std::array<int, kPhaseCount> phaseEchoes_{};
    std::array<int, kPhaseCount> phaseInputs_{};

    // Whether anything was written since power-on, and how many commands the
    // current hook has carried: see releasedForGood().
    bool written_ = false;
    int sessionCommands_ = 0;
    bool releasedForGood_ = false;

    // Program download to the running loader.
    std::optional<uint8_t> loadAddress_;
    std::optional<uint8_t> loadLength_;
    int loaded_ = 0;
    // The first 0x00 of the end of label work has come.
    bool endPending_ = false;
    std::vector<LabelControl> labelControls_;
};

}  // namespace tav::sim
