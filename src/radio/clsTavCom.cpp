#include "radio/clsTavCom.h"

#include <algorithm>
#include <cmath>

namespace tav {

namespace {
constexpr uint8_t kWakeByte = 0x00;
constexpr int kWakeCount = 10;
constexpr uint8_t kHookRequest[] = {0x0A, 0x14, 0x28};
constexpr uint8_t kRelease = 0x01;
// WaitForEchoChar's limit is fixed, whatever Timeout says.
constexpr double kEchoTimeout = 0.5;
}  // namespace

clsTavCom::clsTavCom(const LinkContext& ctx) : ctx_(ctx) {
    fillWriteMasks();
}

clsTavCom::~clsTavCom() {
    // Nothing goes to the radio here: an owner that hooked it releases it itself.
    if (ctx_.port.isOpen()) ctx_.port.close();
}

void clsTavCom::fillWriteMasks() {
    auto& g = ctx_.state.GlobalWriteMask;
    g.fill(0x00);
    g[6] = 0xF9;
    g[7] = 0xFF;
    for (int i = 11; i <= 13; ++i) g[i] = 0xFF;
    std::fill_n(g.begin() + kBandwidthStart, kBandwidthCount, 0xFF);
    g[104] = 0x80;

    auto& p = ctx_.state.GroupWriteMask;
    p.fill(0xFF);
    p[8] = 0x8F;
    std::fill(p.begin() + kUnusedGroupStart, p.begin() + kChannelRecordStart, 0x00);
}

// ------------------------------------------------------- port and waiting

bool clsTavCom::OpenComm() {
    CommPortError = false;
    if (ctx_.port.isOpen() || ctx_.port.open()) return true;
    ctx_.prompter.show(QStringLiteral("Unable to open Comm Port"), kCommError, MsgButtons::Ok,
                       MsgIcon::None, ctx_.port.lastOpenError());
    CommPortError = true;
    return false;
}

void clsTavCom::delay(int32_t dval) {
    const double target = static_cast<float>(dval) / 1000.0f;
    const double start = ctx_.clock.now();
    do {
        ctx_.clock.idleUntil(start + target);
    } while (!(ctx_.clock.now() - start > target));
}

bool clsTavCom::WaitForComChar(uint8_t& ComChar) {
    const double timeout = Timeout;
    const double start = ctx_.clock.now();
    for (;;) {
        // One pass: sleep until input or the deadline, then look.
        ctx_.port.waitForInput(timeout - (ctx_.clock.now() - start));
        const bool timedOut = ctx_.clock.now() - start > timeout;
        if (ctx_.port.waitingCount() >= 1 || timedOut) break;
    }
    // A byte that came only as the time ran out stays for the next reader.
    if (ctx_.clock.now() - start < timeout) {
        ComChar = ctx_.port.readByte();
        return true;
    }
    return false;
}

bool clsTavCom::WaitForEchoChar(uint8_t ComChar) {
    const double start = ctx_.clock.now();
    for (;;) {
        if (ctx_.port.waitingCount() >= 1 && ctx_.port.readByte() == ComChar) return true;
        // More bytes may already be waiting: then this returns at once.
        ctx_.port.waitForInput(kEchoTimeout - (ctx_.clock.now() - start));
        if (ctx_.clock.now() - start > kEchoTimeout) return false;
    }
}

uint8_t clsTavCom::CharToByte(const QString& text) {
    return text.isEmpty() ? 0 : static_cast<uint8_t>(text.at(0).toLatin1());
}

// ---------------------------------------------------- hook and release

bool clsTavCom::Hook() {
    if (!OpenComm()) return false;
    for (;;) {
        uint8_t id = 0;
        bool received = false;
        for (int attempts = 0; attempts <= HookRetries; ++attempts) {
            // The first byte ends the cycle, whatever it is.
            received = hookAttempt(id);
            if (received) break;
        }
        if (received && IsTAV(id)) {
            HookId = id;
            return true;
        }
        // The port stays open: the next operation's UnHook closes it.
        if (ctx_.prompter.show(QStringLiteral("Error Hooking to Radio."), kCommError,
                               MsgButtons::RetryCancel, MsgIcon::None) != MsgResult::Retry)
            return false;
    }
}

bool clsTavCom::hookAttempt(uint8_t& id) {
    for (int i = 0; i < kWakeCount; ++i) send(kWakeByte);
    ctx_.port.discardInput();
    for (uint8_t b : kHookRequest) send(b);
    return WaitForComChar(id);
}

bool clsTavCom::Probe() {
    if (!ctx_.port.isOpen() && !ctx_.port.open()) return false;
    uint8_t id = 0;
    if (!hookAttempt(id) || !IsTAV(id)) return false;
    send(kRelease);
    return true;
}

void clsTavCom::UnHook() {
    if (!OpenComm()) return;
    send(kRelease);
    ctx_.port.close();
}

bool clsTavCom::IsTAV(int16_t Hookval) {
    // Both quotients are rounded to the nearest integer, ties to even.
    const double high = std::nearbyint(Hookval / 16.0);
    const double low = std::nearbyint((Hookval % 16) / 4.0);
    return high >= 4 && low == 0;
}

}  // namespace tav
