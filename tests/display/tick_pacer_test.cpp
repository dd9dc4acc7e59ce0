#include "display/tick_pacer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;
using TimePoint = TickPacer::Clock::time_point;

// The ticks' start times, in milliseconds from 0, of a loop that sleeps as
// the pacer says and whose ticks take the given times; the clock is ours.
std::vector<long> TickStarts(uint32_t delayMs, const std::vector<long>& tickTakesMs) {
    TimePoint now{};
    TickPacer pacer(now, delayMs);
    std::vector<long> starts;
    for (const long takes : tickTakesMs) {
        while (!pacer.due(now)) {
            const int wait = pacer.millisecondsUntilDue(now);
            EXPECT_GT(wait, 0);
            now += milliseconds(wait);
        }
        starts.push_back(static_cast<long>(std::chrono::duration_cast<milliseconds>(now - TimePoint{}).count()));
        now += milliseconds(takes);
        pacer.ticked(delayMs, now);
    }
    return starts;
}

}  // namespace

TEST(TickPacer, KeepsThePaceAndFollowsALateTickAtOnceWithOneTick) {
    EXPECT_EQ(TickStarts(100, {0, 30, 99, 5}), (std::vector<long>{100, 200, 300, 400}));
    // The second tick runs 250 ms: the third starts when it ends, not two
    // more to catch up, and the fourth a delay after that.
    EXPECT_EQ(TickStarts(100, {0, 250, 0, 0}), (std::vector<long>{100, 200, 450, 550}));
}

TEST(TickPacer, ANewDelayCountsFromWhenTheTickWasDue) {
    const TimePoint start{};
    TickPacer pacer(start, 50);
    pacer.ticked(200, start + milliseconds(60));
    EXPECT_FALSE(pacer.due(start + milliseconds(249)));
    EXPECT_TRUE(pacer.due(start + milliseconds(250)));
}

TEST(TickPacer, TheWaitIsRoundedUpSoItNeverEndsShortOfTheTick) {
    const TimePoint start{};
    const TickPacer pacer(start, 10);
    EXPECT_EQ(pacer.millisecondsUntilDue(start + microseconds(500)), 10);
    EXPECT_EQ(pacer.millisecondsUntilDue(start + microseconds(9001)), 1);
    EXPECT_EQ(pacer.millisecondsUntilDue(start + milliseconds(10)), 0);
    EXPECT_EQ(pacer.millisecondsUntilDue(start + milliseconds(30)), 0);
}
