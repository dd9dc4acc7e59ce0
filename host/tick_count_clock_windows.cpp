#include "host/tick_count_clock_windows.h"

TickCountClock::TickCountClock(Reader read) : read_(read), last_(read()) {}

TickCountClock::time_point TickCountClock::now() {
    const DWORD count = read_();
    elapsed_ += static_cast<DWORD>(count - last_);  // modulo 2^32: across a wrap too
    last_ = count;
    return time_point(duration(elapsed_));
}
