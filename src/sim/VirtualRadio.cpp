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

// What a working radio expects to find in RAM. These are the radio's own
// copies, kept apart from the editor's on purpose: each checks the other.
constexpr uint8_t kBaudRegister = 0x0D;
constexpr uint8_t kLoaderAddress = 0xE0;
constexpr uint8_t kLoader[] = {0x9C, 0xAD, 0x10, 0xB7, 0xEC, 0xAD, 0x0C, 0x97, 0xAD,
                               0x09, 0x5A, 0xE7, 0x55, 0x5D, 0x26, 0xF8, 0xBE, 0xEC,
                               0xFC, 0x0B, 0x10, 0xFD, 0xB6, 0x11, 0x81};
constexpr uint8_t kLabelProgramAddress = 0x52;
constexpr uint8_t kLabelProgram[] = {
    // 0x52
    0x9B, 0xAD, 0x33, 0xB7, 0x50, 0xAD, 0x2F, 0xB7, 0x51, 0x26, 0x04, 0xB6, 0x50, 0x27, 0x26, 0xB6,
    0x50, 0x27, 0x10, 0xB7, 0x52, 0x3A, 0x52, 0x9D, 0x9D, 0xAD, 0x1B, 0xAD, 0x50, 0xB6, 0x52, 0x26,
    0xF4, 0x1C, 0x01, 0xB6, 0x51, 0x27, 0xDA, 0xB7, 0x52, 0x3A, 0x52, 0xAD, 0x15, 0xAD, 0x2E, 0xAD,
    0x0B, 0x1C, 0x01, 0x20, 0xCC, 0x81, 0x0B, 0x10, 0xFD, 0xB6, 0x11, 0x81, 0x0F, 0x10, 0xFD, 0xB7,
    0x11, 0x81, 0xAD, 0x00, 0xAD, 0x00, 0xA6, 0x04, 0xAD, 0x03, 0x4A, 0x26, 0xFB, 0xB7, 0xDD, 0xA6,
    0x49, 0x20, 0x04, 0xB7, 0xDD, 0xA6, 0x20, 0x4A, 0x26, 0xFD, 0xB6, 0xDD, 0x81, 0xAE, 0x80, 0x4F,
    0x09, 0x03, 0x06, 0xAD, 0xE1, 0x5A, 0x26, 0xF7, 0x81, 0x4C, 0xAD, 0xD0, 0x4F, 0x1D, 0x01, 0x97,
    0xAD, 0xD0, 0xA6, 0x08, 0xAD, 0xD7, 0x1F, 0x01, 0x08, 0x03, 0x00, 0x59, 0x24, 0x02, 0x1E, 0x01,
    0x1A, 0x01, 0xAD, 0xCF, 0x1B, 0x01, 0x4A, 0x26, 0xEB, 0x9F, 0x81, 0x00};

template <std::size_t N>
bool ramHolds(const std::array<uint8_t, kRadioRamSize>& ram, uint8_t at, const uint8_t (&code)[N]) {
    return at + N <= ram.size() && std::equal(code, code + N, ram.begin() + at);
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
    setCommand(0x28, 1, &VirtualRadio::cmdBaudCheck);
    setCommand(0xF0, 2, &VirtualRadio::cmdStartLoader);

    labelCommands_[0x02] = Command{4, &VirtualRadio::cmdLabelRead};
    labelCommands_[0x03] = Command{5, &VirtualRadio::cmdLabelWrite};
    labelCommands_[0x00] = Command{1, &VirtualRadio::cmdLabelEnd};
}

void VirtualRadio::setCommand(uint8_t first, int length, void (VirtualRadio::*run)(const Bytes&)) {
    commands_[first] = Command{length, run};
}

void VirtualRadio::powerCycle() {
    state_ = State::Idle;
    crashReason_.clear();
    baud_ = 4800;
    awake_ = false;
    hookMatched_ = 0;
    cmd_.clear();
    out_.clear();
    loadAddress_.reset();
    loadLength_.reset();
    endPending_ = false;
}

void VirtualRadio::leave() {
    powerCycle();
    state_ = State::Away;
}

// ------------------------------------------------------------------- the line

void VirtualRadio::lineIn(uint8_t b, int senderBaud, double now) {
    const double start = std::max(now, toRadioFree_);
    const double arrival = start + (wireTiming_ ? byteTime(senderBaud) : 0.0);
    toRadioFree_ = arrival;
    const bool garbled = senderBaud != baud_;
    record({arrival, Direction::ToRadio, b, senderBaud, garbled, false});
    if (garbled || faults_.silent || state_ == State::Crashed || state_ == State::Away) return;
    now_ = arrival;
    const Phase phase = inputPhase();
    ++inputs_;
    if (faults_.hits(FaultKind::CorruptIn, phase, inputs_, ++phaseInputs_[static_cast<int>(phase)]))
        b = static_cast<uint8_t>(~b);
    switch (state_) {
        case State::Idle:
            onIdleByte(b);
            break;
        case State::Hooked:
            onHookedByte(b);
            break;
        case State::Loader:
            onLoaderByte(b);
            break;
        case State::LabelProgram:
            onLabelByte(b);
            break;
        case State::Crashed:
        case State::Away:
            break;
    }
}

// The step a byte from the editor belongs to, for corrupt-in.
Phase VirtualRadio::inputPhase() const {
    switch (state_) {
        case State::Idle:
            return Phase::Hook;
        case State::Loader:
            return Phase::Loader;
        case State::LabelProgram:
            return Phase::Label;
        default:
            return Phase::EEProm;
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

void VirtualRadio::reply(uint8_t b, Phase phase) {
    const int inPhase = ++phaseReplies_[static_cast<int>(phase)];
    ++replies_;
    transmit(b, faults_.hits(FaultKind::DropReply, phase, replies_, inPhase),
             faults_.hits(FaultKind::CorruptReply, phase, replies_, inPhase));
}

void VirtualRadio::echo(uint8_t b, Phase phase) {
    const int inPhase = ++phaseEchoes_[static_cast<int>(phase)];
    ++echoes_;
    transmit(b, faults_.hits(FaultKind::DropEcho, phase, echoes_, inPhase),
             faults_.hits(FaultKind::CorruptEcho, phase, echoes_, inPhase));
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
        sessionCommands_ = 0;
        reply(effectiveIdByte(), Phase::Hook);
        return;
    }
    hookMatched_ = b == kHookRequest[0] && awake_ ? 1 : 0;
}

void VirtualRadio::onHookedByte(uint8_t b) {
    onCommandByte(b, commands_);
}

void VirtualRadio::onLabelByte(uint8_t b) {
    onCommandByte(b, labelCommands_);
}

void VirtualRadio::onCommandByte(uint8_t b, const std::array<Command, 256>& table) {
    if (cmd_.empty()) {
        current_ = table[b];
        if (current_.length == 0) return;  // not a command: ignored
    }
    cmd_.push_back(b);
    if (static_cast<int>(cmd_.size()) < current_.length) return;
    const Bytes c = std::move(cmd_);
    cmd_.clear();
    const auto run = current_.run;
    if (run != &VirtualRadio::cmdWake && run != &VirtualRadio::cmdHookRequest &&
        run != &VirtualRadio::cmdRelease)
        ++sessionCommands_;
    (this->*run)(c);
}

// ------------------------------------------------------------ hooked commands

// A repeated wake-up preamble while already hooked: nothing to do.
void VirtualRadio::cmdWake(const Bytes&) {}

void VirtualRadio::cmdHookRequest(const Bytes& c) {
    if (c[1] == kHookRequest[1] && c[2] == kHookRequest[2]) reply(effectiveIdByte(), Phase::Hook);
}

void VirtualRadio::cmdRelease(const Bytes&) {
    if (written_ && sessionCommands_ == 0) releasedForGood_ = true;
    state_ = State::Idle;
    awake_ = false;
    hookMatched_ = 0;
}

void VirtualRadio::cmdReadWord(const Bytes& c) {
    const uint16_t a = commandAddress(c);
    reply(eeprom_[a % kEEPromSize], Phase::EEProm);
    reply(eeprom_[(a + 1) % kEEPromSize], Phase::EEProm);
}

void VirtualRadio::cmdWriteWord(const Bytes& c) {
    const uint16_t a = commandAddress(c) & 0x7FE;
    if (!faults_.stuckWord(a)) {
        eeprom_[a] = c[2];
        eeprom_[a + 1] = c[3];
    }
    written_ = true;
    if (recording_) eeWrites_.push_back({a, c[2], c[3]});
    echo(c[2], Phase::EEProm);
    echo(c[3], Phase::EEProm);
}

void VirtualRadio::cmdWriteRam(const Bytes& c) {
    ram_[c[1]] = c[2];
    // The echo is queued first, so it leaves at the speed in force before
    // whatever the write itself changes.
    echo(c[2], c[1] == kBaudRegister ? Phase::Baud : Phase::Ram);
    onRamWritten(c[1], c[2]);
}

void VirtualRadio::onRamWritten(uint8_t address, uint8_t value) {
    if (address != kBaudRegister) return;
    // The echo has left at the old speed; everything after it goes at the new one.
    if (value == 0x30)
        baud_ = 9600;
    else if (value == 0x31)
        baud_ = 4800;
    else
        crash(
            QStringLiteral("baud register written with 0x%1").arg(value, 2, 16, QLatin1Char('0')));
}

// Asked at a new speed: any one byte tells the editor the radio followed.
void VirtualRadio::cmdBaudCheck(const Bytes&) {
    reply(effectiveIdByte(), Phase::Baud);
}

void VirtualRadio::cmdStartLoader(const Bytes& c) {
    if (c[1] != kLoaderAddress + 1 || !ramHolds(ram_, kLoaderAddress, kLoader))
        return crash(QStringLiteral("a program started at 0x%1 that is not the loader")
                         .arg(c[1], 2, 16, QLatin1Char('0')));
    state_ = State::Loader;
    loadAddress_.reset();
    loadLength_.reset();
    loaded_ = 0;
}

void VirtualRadio::crash(const QString& why) {
    state_ = State::Crashed;
    crashReason_ = why;
    cmd_.clear();
}

// ------------------------------------------------------------- the loader

// Load address, length, then the bytes from the last down to the first.
void VirtualRadio::onLoaderByte(uint8_t b) {
    if (!loadAddress_) {
        loadAddress_ = b;
        return;
    }
    if (!loadLength_) {
        loadLength_ = b;
        if (b == 0) finishDownload();
        return;
    }
    ram_[static_cast<uint8_t>(*loadAddress_ + *loadLength_ - 1 - loaded_)] = b;
    if (++loaded_ == *loadLength_) finishDownload();
}

void VirtualRadio::finishDownload() {
    const bool labelProgram = *loadAddress_ == kLabelProgramAddress &&
                              *loadLength_ == sizeof kLabelProgram &&
                              ramHolds(ram_, kLabelProgramAddress, kLabelProgram);
    if (!labelProgram)
        return crash(QStringLiteral("the downloaded program is not the label program"));
    state_ = State::LabelProgram;
    cmd_.clear();
    endPending_ = false;
}

// ------------------------------------------------------- the label program

namespace {
// Label memory address of a read (0x28 | H) or write (0x68 | H) command; -1 if malformed.
int labelAddress(const VirtualRadio::Bytes& c, uint8_t base) {
    if (c[1] != 0x01 || (c[2] & 0xF8) != base) return -1;
    return ((c[2] & 0x07) << 8) | c[3];
}
}  // namespace

void VirtualRadio::cmdLabelRead(const Bytes& c) {
    endPending_ = false;
    const int a = labelAddress(c, 0x28);
    if (a < 0) return;
    reply(c[3], Phase::Label);
    reply(labels_[static_cast<std::size_t>(a)], Phase::Label);
}

void VirtualRadio::cmdLabelWrite(const Bytes& c) {
    endPending_ = false;
    if (c[1] == 0x00 && c[2] == 0x60) {
        if (recording_) labelControls_.push_back({c[3], c[4]});
        return;
    }
    const int a = labelAddress(c, 0x68);
    if (a < 0) return;
    labels_[static_cast<std::size_t>(a)] = c[4];
    written_ = true;
    echo(c[4], Phase::Label);
}

// Two 0x00 in a row end the label program (the editor pauses between them, but
// the pause may be swallowed by bytes still queued on the line).
void VirtualRadio::cmdLabelEnd(const Bytes&) {
    if (endPending_) {
        endPending_ = false;
        state_ = State::Hooked;
        return;
    }
    endPending_ = true;
}

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
    labelControls_.clear();
    for (Outgoing& o : out_) o.logIndex = kNotLogged;
}

}  // namespace tav::sim
