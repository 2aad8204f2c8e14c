#include "sim/PtyRadioServer.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>

namespace tav::sim {

namespace {
int baudOf(speed_t s) {
    switch (s) {
        case B1200:
            return 1200;
        case B2400:
            return 2400;
        case B4800:
            return 4800;
        case B9600:
            return 9600;
        case B19200:
            return 19200;
        case B38400:
            return 38400;
        case B57600:
            return 57600;
        case B115200:
            return 115200;
        default:
            return 0;
    }
}
}  // namespace

PtyRadioServer::PtyRadioServer(VirtualRadio& radio, bool timing)
    : radio_(radio), epoch_(std::chrono::steady_clock::now()) {
    radio_.setWireTiming(timing);
}

PtyRadioServer::~PtyRadioServer() {
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
}

bool PtyRadioServer::open(QString* error) {
    termios raw{};
    ::cfmakeraw(&raw);
    ::cfsetispeed(&raw, B4800);
    ::cfsetospeed(&raw, B4800);
    char name[256] = {};
    if (::openpty(&master_, &slave_, name, &raw, nullptr) != 0) {
        if (error)
            *error = QStringLiteral("cannot create a pseudo-terminal: %1").arg(strerror(errno));
        return false;
    }
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave_, F_SETFD, FD_CLOEXEC);
    slavePath_ = QString::fromLocal8Bit(name);
    return true;
}

double PtyRadioServer::now() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - epoch_).count();
}

int PtyRadioServer::editorBaud() const {
    // The master reports the line settings the editor made on the slave.
    termios t{};
    if (::tcgetattr(master_, &t) != 0) return 0;
    return baudOf(::cfgetospeed(&t));
}

void PtyRadioServer::fail(const QString& why) {
    if (failure_.isEmpty()) failure_ = why;
}

std::optional<double> PtyRadioServer::flushDue() {
    const int baud = editorBaud();
    while (const std::optional<uint8_t> b = radio_.takeDue(now(), baud)) {
        // A full buffer means nobody reads the line: the byte is lost, as on a wire.
        if (::write(master_, &*b, 1) < 0 && errno != EAGAIN && errno != EINTR)
            fail(QStringLiteral("cannot write to the pseudo-terminal: %1").arg(strerror(errno)));
    }
    return radio_.nextDue();
}

void PtyRadioServer::readEditorBytes() {
    uint8_t buf[256];
    for (;;) {
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) return;
        if (n <= 0) {
            // The slave is held open here, so the line never ends on its own.
            fail(n == 0
                     ? QStringLiteral("the pseudo-terminal was hung up")
                     : QStringLiteral("cannot read the pseudo-terminal: %1").arg(strerror(errno)));
            return;
        }
        const int baud = editorBaud();
        const double t = now();
        for (ssize_t i = 0; i < n; ++i) {
            if (feed_)
                feed_(buf[i], baud, t);
            else
                radio_.lineIn(buf[i], baud, t);
        }
        if (radio_.state() == VirtualRadio::State::Crashed && !crashTold_ && tellCrash_) {
            crashTold_ = true;
            tellCrash_(radio_.crashReason());
        }
    }
}

bool PtyRadioServer::run(int stopFd, QString* why) {
    failure_.clear();
    if (master_ < 0) fail(QStringLiteral("the pseudo-terminal is not open"));
    // Answers are due at exact moments; the default 50 us timer slack would
    // be charged on every one of them.
    ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    while (failure_.isEmpty()) {
        const std::optional<double> next = flushDue();
        timespec timeout{};
        timespec* wait = nullptr;  // no answer pending: sleep until input
        if (next) {
            const double left = std::max(0.0, *next - now());
            timeout.tv_sec = static_cast<time_t>(left);
            timeout.tv_nsec = static_cast<long>((left - std::floor(left)) * 1e9);
            wait = &timeout;
        }
        pollfd fds[2] = {{master_, POLLIN, 0}, {stopFd, POLLIN, 0}};
        const int r = ::ppoll(fds, stopFd >= 0 ? 2 : 1, wait, nullptr);
        if (r < 0 && errno != EINTR) {
            fail(QStringLiteral("cannot wait for the line: %1").arg(strerror(errno)));
            break;
        }
        if (r < 0) continue;
        if (stopFd >= 0 && (fds[1].revents & (POLLIN | POLLHUP))) return true;
        if (fds[0].revents & POLLIN) readEditorBytes();
        if (fds[0].revents & (POLLERR | POLLNVAL | POLLHUP))
            fail(QStringLiteral("the pseudo-terminal failed (poll events 0x%1)")
                     .arg(fds[0].revents, 0, 16));
    }
    if (why) *why = failure_;
    return false;
}

}  // namespace tav::sim
