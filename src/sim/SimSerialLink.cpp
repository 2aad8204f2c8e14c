#include "sim/SimSerialLink.h"

#include <algorithm>

namespace tav::sim {

bool SimSerialLink::open() {
    ++openCalls_;
    lastFailure_ = failOpen_;
    if (failOpen_ != OpenFailure::None) return false;
    collect();  // whatever arrived while closed is lost
    input_.clear();
    open_ = true;
    return true;
}

void SimSerialLink::close() {
    open_ = false;
    input_.clear();
}

QString SimSerialLink::lastOpenError() const {
    switch (lastFailure_) {
        case OpenFailure::None:
            return {};
        case OpenFailure::NoSuchDevice:
            return QStringLiteral("The virtual port does not exist.");
        case OpenFailure::PermissionDenied:
            return QStringLiteral("Access to the virtual port was denied.");
        case OpenFailure::InUse:
            return QStringLiteral("The virtual port is in use.");
        case OpenFailure::Other:
            break;
    }
    return QStringLiteral("The virtual port could not be opened.");
}

void SimSerialLink::setBaudRate(int baud) {
    collect();  // bytes already arrived were received at the old speed
    baud_ = baud;
}

void SimSerialLink::writeByte(uint8_t b) {
    if (!open_) return;
    if (radio_.recording()) timeline_.push_back({clock_.now(), true});
    if (feed_)
        feed_(b, baud_, clock_.now());
    else
        radio_.lineIn(b, baud_, clock_.now());
}

int SimSerialLink::waitingCount() {
    collect();
    return static_cast<int>(input_.size());
}

uint8_t SimSerialLink::readByte() {
    collect();
    if (input_.empty()) return 0;
    const uint8_t b = input_.front();
    input_.pop_front();
    if (radio_.recording()) timeline_.push_back({clock_.now(), false});
    return b;
}

void SimSerialLink::discardInput() {
    collect();
    input_.clear();
}

void SimSerialLink::waitForInput(double seconds) {
    collect();
    if (!input_.empty()) return;
    const double deadline = clock_.now() + std::max(0.0, seconds);
    const std::optional<double> next = radio_.nextDue();
    clock_.idleUntil(next && *next < deadline ? *next : deadline);
    collect();
}

void SimSerialLink::collect() {
    const double now = clock_.now();
    while (const std::optional<uint8_t> b = radio_.takeDue(now, baud_))
        if (open_) input_.push_back(*b);
}

}  // namespace tav::sim
