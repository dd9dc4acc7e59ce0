#include "saver_program/tick_pacer.h"

#include <algorithm>

TickPacer::TickPacer(Clock::time_point start, uint32_t delayMs) : next_(start + std::chrono::milliseconds(delayMs)) {}

void TickPacer::ticked(uint32_t delayMs, Clock::time_point now) {
    next_ = std::max(next_ + std::chrono::milliseconds(delayMs), now);
}

int TickPacer::millisecondsUntilDue(Clock::time_point now) const {
    if (due(now)) {
        return 0;
    }
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(next_ - now).count());
}
