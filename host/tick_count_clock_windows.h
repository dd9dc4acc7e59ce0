// The Windows program's clock for pacing ticks: milliseconds from
// GetTickCount, which every Windows has and which never steps with the wall
// clock (std::chrono::steady_clock reads the system time under the win32
// thread model the program is built with). The count's 32 bits wrap after
// 49.7 days; each reading carries that into 64 bits, so the clock must be
// read at least that often, and by one thread at a time.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>

class TickCountClock {
public:
    using rep = int64_t;
    using period = std::milli;
    using duration = std::chrono::milliseconds;
    using time_point = std::chrono::time_point<TickCountClock, duration>;
    static constexpr bool is_steady = true;

    using Reader = DWORD(WINAPI*)();
    // Tests pass their own count.
    explicit TickCountClock(Reader read = GetTickCount);

    time_point now();

private:
    Reader read_;
    DWORD last_;
    int64_t elapsed_ = 0;  // since the first reading
};
