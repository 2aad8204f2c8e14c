#include "sim/VirtualRadio.h"

#include <algorithm>
#include <limits>

namespace tav::sim {

namespace {
constexpr std::size_t kNotLogged = std::numeric_limits<std::size_t>::max();
constexpr uint8_t kHookRequest[3] = {0x0A, 0x14, 0x28};

uint16_t commandAddress(const VirtualRadio::Bytes& c) {
    return static_cast<uint16_t>(((c[0] & 0x0E) << 7) | c[1]);
}
}  // namespace

VirtualRadio::VirtualRadio(const FaultPlan& faults) : faults_(faults) {
    installCommands();
}

void VirtualRadio::installCommands() {
    setCommand(0x00, 1, &VirtualRadio::cmdWake);
    setCommand(0x01, 1, &VirtualRadio::cmdRelease);
    setCommand(0x0A, 3, &VirtualRadio::cmdHookRequest);
    // 0xE0..0xEF: word commands, the low bit telling read (1) from write (0)
    // and bits 1..3 carrying address bits 8..10.
    for (int c = 0xE0; c <= 0xEF; c += 2) {
        setCommand(static_cast<uint8_t>(c), 4, &VirtualRadio::cmdWriteWord);
        setCommand(static_cast<uint8_t>(c + 1), 2, &VirtualRadio::cmdReadWord);
    }
    setCommand(0xD0, 3, &VirtualRadio::cmdWriteRam);
}

void VirtualRadio::setCommand(uint8_t first, int length, void (VirtualRadio::*run)(const Bytes&)) {
    commands_[first] = Command{length, run};
}

void VirtualRadio::powerCycle() {
    state_ = State::Idle;
    baud_ = 4800;
    awake_ = false;
    hookMatched_ = 0;
    cmd_.clear();
    out_.clear();
}

// ------------------------------------------------------------------- the line

void VirtualRadio::lineIn(uint8_t b, int senderBaud, double now) {
    const double start = std::max(now, toRadioFree_);
    const double arrival = start + (wireTiming_ ? byteTime(senderBaud) : 0.0);
    toRadioFree_ = arrival;
    const bool garbled = senderBaud != baud_;
    record({arrival, Direction::ToRadio, b, senderBaud, garbled, false});
    if (garbled || faults_.silent) return;
    now_ = arrival;
    switch (state_) {
        case State::Idle:
            onIdleByte(b);
            break;
        case State::Hooked:
            onHookedByte(b);
            break;
    }
}

std::optional<double> VirtualRadio::nextDue() const {
    if (out_.empty()) return std::nullopt;
    return out_.front().due;
}

std::optional<uint8_t> VirtualRadio::takeDue(double now, int receiverBaud) {
    while (!out_.empty() && out_.front().due <= now) {
        const Outgoing o = out_.front();
        out_.pop_front();
        if (o.baud == receiverBaud) return o.value;
        if (o.logIndex != kNotLogged) log_[o.logIndex].garbled = true;
    }
    return std::nullopt;
}

void VirtualRadio::transmitAt(uint8_t b, double due) {
    const std::size_t at = record({due, Direction::ToEditor, b, baud_, false, false});
    const auto pos = std::upper_bound(out_.begin(), out_.end(), due,
                                      [](double t, const Outgoing& o) { return t < o.due; });
    out_.insert(pos, Outgoing{due, b, baud_, at});
}

void VirtualRadio::reply(uint8_t b) {
    ++replies_;
    transmit(b, replies_ == faults_.dropReply, replies_ == faults_.corruptReply);
}

void VirtualRadio::echo(uint8_t b) {
    ++echoes_;
    transmit(b, echoes_ == faults_.dropEcho, echoes_ == faults_.corruptEcho);
}

void VirtualRadio::transmit(uint8_t b, bool drop, bool corrupt) {
    if (corrupt) b = static_cast<uint8_t>(~b);
    const double start = std::max(now_ + faults_.slowMs / 1000.0, toEditorFree_);
    const double due = start + (wireTiming_ ? byteTime(baud_) : 0.0);
    if (drop) {
        record({due, Direction::ToEditor, b, baud_, false, true});
        return;
    }
    toEditorFree_ = due;
    const std::size_t at = record({due, Direction::ToEditor, b, baud_, false, false});
    out_.push_back(Outgoing{due, b, baud_, at});
}

// ------------------------------------------------------------------ the states

void VirtualRadio::onIdleByte(uint8_t b) {
    // Any 0x00 wakes the radio; a hook request then puts it in programming mode.
    if (b == 0x00) {
        awake_ = true;
        hookMatched_ = 0;
        return;
    }
    if (awake_ && b == kHookRequest[hookMatched_]) {
        if (++hookMatched_ < 3) return;
        hookMatched_ = 0;
        state_ = State::Hooked;
        reply(effectiveIdByte());
        return;
    }
    hookMatched_ = b == kHookRequest[0] && awake_ ? 1 : 0;
}

void VirtualRadio::onHookedByte(uint8_t b) {
    if (cmd_.empty()) {
        current_ = commands_[b];
        if (current_.length == 0) return;  // not a command: ignored
    }
    cmd_.push_back(b);
    if (static_cast<int>(cmd_.size()) < current_.length) return;
    const Bytes c = std::move(cmd_);
    cmd_.clear();
    (this->*current_.run)(c);
}

// ------------------------------------------------------------ hooked commands

// A repeated wake-up preamble while already hooked: nothing to do.
void VirtualRadio::cmdWake(const Bytes&) {}

void VirtualRadio::cmdHookRequest(const Bytes& c) {
    if (c[1] == kHookRequest[1] && c[2] == kHookRequest[2]) reply(effectiveIdByte());
}

void VirtualRadio::cmdRelease(const Bytes&) {
    state_ = State::Idle;
    awake_ = false;
    hookMatched_ = 0;
}

void VirtualRadio::cmdReadWord(const Bytes& c) {
    const uint16_t a = commandAddress(c);
    reply(eeprom_[a % kEEPromSize]);
    reply(eeprom_[(a + 1) % kEEPromSize]);
}

void VirtualRadio::cmdWriteWord(const Bytes& c) {
    const uint16_t a = commandAddress(c) & 0x7FE;
    eeprom_[a] = c[2];
    eeprom_[a + 1] = c[3];
    if (recording_) eeWrites_.push_back({a, c[2], c[3]});
    echo(c[2]);
    echo(c[3]);
}

void VirtualRadio::cmdWriteRam(const Bytes& c) {
    ram_[c[1]] = c[2];
    // The echo is queued first, so it leaves at the speed in force before
    // whatever the write itself changes.
    echo(c[2]);
    onRamWritten(c[1], c[2]);
}

void VirtualRadio::onRamWritten(uint8_t, uint8_t) {}

// -------------------------------------------------------------------- records

std::size_t VirtualRadio::record(const WireEvent& e) {
    if (!recording_) return kNotLogged;
    log_.push_back(e);
    return log_.size() - 1;
}

VirtualRadio::Bytes VirtualRadio::received() const {
    Bytes out;
    for (const WireEvent& e : log_)
        if (e.dir == Direction::ToRadio) out.push_back(e.value);
    return out;
}

VirtualRadio::Bytes VirtualRadio::sent() const {
    Bytes out;
    for (const WireEvent& e : log_)
        if (e.dir == Direction::ToEditor && !e.dropped) out.push_back(e.value);
    return out;
}

void VirtualRadio::clearRecords() {
    log_.clear();
    eeWrites_.clear();
    for (Outgoing& o : out_) o.logIndex = kNotLogged;
}

}  // namespace tav::sim
