#include "cli/CliProgress.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace tav::cli {

namespace {
std::atomic<bool> gInterrupted{false};
std::atomic<bool> gCancelRequested{false};
// Several sessions may be alive at once: the handler goes in with the first
// and the one before it comes back with the last.
int gUsers = 0;
struct sigaction gPrevious {};

void onInterrupt(int) {
    // A second Ctrl-C while a transfer is already stopping ends the program.
    if (gInterrupted.exchange(true)) std::_Exit(130);
    gCancelRequested = true;
}
}  // namespace

CliProgress::CliProgress(bool drawBar) : drawBar_(drawBar) {
    if (gUsers++ > 0) return;
    struct sigaction sa {};
    sa.sa_handler = onInterrupt;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGINT, &sa, &gPrevious);
}

CliProgress::~CliProgress() {
    setVisible(false);
    if (--gUsers == 0) ::sigaction(SIGINT, &gPrevious, nullptr);
}

// Unlike the dialog's button, an interrupt is never forgotten: a transfer that
// enables Cancel later still sees it.
void CliProgress::EnableCancel() {}
bool CliProgress::Cancelled() const {
    return gCancelRequested;
}

void CliProgress::setValue(int v) {
    value_ = v;
    if (visible_) draw();
}

void CliProgress::setVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    if (!drawBar_) return;
    if (visible) {
        drawnPercent_ = -1;
        draw();
    } else {
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
    }
}

void CliProgress::draw() {
    if (!drawBar_) return;
    const int span = max_ - min_;
    const int percent = span > 0 ? std::clamp((value_ - min_) * 100 / span, 0, 100) : 0;
    if (percent == drawnPercent_) return;
    drawnPercent_ = percent;
    constexpr int kWidth = 40;
    const int filled = percent * kWidth / 100;
    const QByteArray label = message_.toLocal8Bit();
    std::fprintf(stderr, "\r%s [%s%s] %3d%%", label.constData(),
                 QByteArray(filled, '#').constData(), QByteArray(kWidth - filled, ' ').constData(),
                 percent);
    std::fflush(stderr);
}

}  // namespace tav::cli
