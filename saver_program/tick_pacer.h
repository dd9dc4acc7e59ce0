// When the next tick of a world is due. Each tick's delay counts from when
// that tick was due, not from when the one before it finished, so the time a
// big tick takes (at 4K, several milliseconds) does not stretch every delay;
// a tick that ran late is followed at once by one tick, never by several to
// catch up. The caller reads the clock and passes it in.
#pragma once

#include <chrono>
#include <cstdint>

class TickPacer {
public:
    using Clock = std::chrono::steady_clock;

    // The first tick is due delayMs after start.
    TickPacer(Clock::time_point start, uint32_t delayMs);

    bool due(Clock::time_point now) const { return now >= next_; }

    // After a tick that ended at `now`: the next is due delayMs (the delay in
    // force now) after this one was due, or at `now` if that has passed.
    void ticked(uint32_t delayMs, Clock::time_point now);

    // Milliseconds from `now` until the next tick, rounded up so that a wait
    // of that long never ends just short of it; 0 when one is due.
    int millisecondsUntilDue(Clock::time_point now) const;

private:
    Clock::time_point next_;
};
