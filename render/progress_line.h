// "tick 1200/10000" on standard error while a long run goes on: nothing for
// the first second, then a line rewritten in place about four times a second
// on a terminal, or a new line every few seconds into a file or pipe.
#pragma once

#include <chrono>
#include <cstdint>

class ProgressLine {
public:
    ProgressLine(bool enabled, uint32_t total);
    void update(uint32_t done);
    void finish();

private:
    using Clock = std::chrono::steady_clock;

    bool enabled_;
    bool terminal_;
    bool shown_ = false;
    uint32_t total_;
    Clock::time_point start_;
    Clock::time_point next_;
};
