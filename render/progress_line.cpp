#include "render/progress_line.h"

#include <unistd.h>

#include <cstdio>

namespace {

constexpr std::chrono::milliseconds kQuietStart{1000};
constexpr std::chrono::milliseconds kTerminalEvery{250};
constexpr std::chrono::milliseconds kLogEvery{5000};

}  // namespace

ProgressLine::ProgressLine(bool enabled, uint32_t total)
    : enabled_(enabled), terminal_(isatty(STDERR_FILENO) != 0), total_(total) {
    start_ = Clock::now();
    next_ = start_ + kQuietStart;
}

void ProgressLine::update(uint32_t done) {
    // The clock is read every 64 ticks only: a tick can take microseconds.
    if (!enabled_ || (done & 63) != 0)
        return;
    const Clock::time_point now = Clock::now();
    if (now < next_)
        return;
    next_ = now + (terminal_ ? kTerminalEvery : kLogEvery);
    const double seconds = std::chrono::duration<double>(now - start_).count();
    std::fprintf(stderr, "%stick %u/%u, %.1f s", terminal_ ? "\r" : "", done, total_, seconds);
    if (!terminal_)
        std::fputc('\n', stderr);
    shown_ = true;
}

void ProgressLine::finish() {
    if (shown_ && terminal_)
        std::fputc('\n', stderr);
    shown_ = false;
}
