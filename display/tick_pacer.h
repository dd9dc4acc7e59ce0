// When the next tick of a world is due, the one pacing rule of every front
// end. Each tick's delay counts from when that tick was due, not from when
// the one before it finished, so the time a big tick takes (at 4K, several
// milliseconds) does not stretch every delay; a tick that ran late is
// followed at once by one tick, never by several to catch up. The caller
// reads its clock and passes the time in: any clock whose time_point counts
// steadily (the Linux programs' steady_clock, the Windows program's tick
// count, whose steady_clock reads the wall clock under the win32 threads).
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>

template <class ClockType>
class BasicTickPacer {
public:
    using Clock = ClockType;
    using TimePoint = typename Clock::time_point;

    // The first tick is due delayMs after start.
    BasicTickPacer(TimePoint start, uint32_t delayMs) : next_(start + std::chrono::milliseconds(delayMs)) {}

    bool due(TimePoint now) const { return now >= next_; }

    // After a tick that ended at `now`: the next is due delayMs (the delay in
    // force now) after this one was due, or at `now` if that has passed.
    void ticked(uint32_t delayMs, TimePoint now) {
        next_ = std::max<TimePoint>(next_ + std::chrono::milliseconds(delayMs), now);
    }

    // Milliseconds from `now` until the next tick, rounded up so that a wait
    // of that long never ends just short of it; 0 when one is due.
    int millisecondsUntilDue(TimePoint now) const {
        if (due(now)) {
            return 0;
        }
        return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(next_ - now).count());
    }

private:
    TimePoint next_;
};

using TickPacer = BasicTickPacer<std::chrono::steady_clock>;
