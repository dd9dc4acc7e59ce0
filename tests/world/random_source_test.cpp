#include <gtest/gtest.h>

#include "scripted_random.h"
#include "world/random_source.h"

TEST(RandomSource, FollowsTheMicrosoftRuntimeSequence) {
    // The first draws of the Microsoft runtime after srand(1) and srand(42).
    CrtRandom r;
    r.seed(1);
    EXPECT_EQ(41, r.draw());
    EXPECT_EQ(18467, r.draw());
    EXPECT_EQ(6334, r.draw());
    EXPECT_EQ(26500, r.draw());
    r.seed(42);
    EXPECT_EQ(175, r.draw());
    EXPECT_EQ(400, r.draw());
}

TEST(RandomSource, StaysWithinRangeAndSharesOneState) {
    SeedRandom(12345);
    const int32_t first = DrawRandom();
    SeedRandom(12345);
    EXPECT_EQ(first, DrawRandom());
    for (int i = 0; i < 100000; ++i) {
        const int32_t d = DrawRandom();
        ASSERT_GE(d, 0);
        ASSERT_LE(d, kRandomMax);
    }
}

TEST(RandomSource, ScriptReplacesAndRestoresTheProcessGenerator) {
    SeedRandom(7);
    const int32_t expected = DrawRandom();
    SeedRandom(7);
    {
        ScriptedRandom script({5, 6});
        EXPECT_EQ(5, DrawRandom());
        EXPECT_EQ(6, DrawRandom());
    }
    EXPECT_EQ(expected, DrawRandom());
}
