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

TEST(RandomSource, StateIsReadableAndResumesTheSequence) {
    CrtRandom r;
    r.seed(1);
    EXPECT_EQ(1u, r.state());
    r.draw();
    EXPECT_EQ(1u * 214013u + 2531011u, r.state());  // 2745024: draw 41 is its top bits
    // Wrapping modulo 2^32: 0xFFFFFFFF * 214013 + 2531011 = 2316998.
    r.seed(0xFFFFFFFFu);
    r.draw();
    EXPECT_EQ(2316998u, r.state());

    CrtRandom resumed;
    r.seed(12345);
    for (int i = 0; i < 1000; ++i) {
        r.draw();
    }
    resumed.seed(r.state());
    for (int i = 0; i < 100000; ++i) {
        const int32_t d = r.draw();
        ASSERT_EQ(d, resumed.draw());
        ASSERT_GE(d, 0);
        ASSERT_LE(d, kRandomMax);
    }
}

TEST(RandomSource, ScriptStandsInForAWorldsSourceAndGivesItBack) {
    CrtRandom own;
    own.seed(7);
    World world(own);
    {
        ScriptedRandom script(world, {5, 6});
        EXPECT_EQ(&script, &world.random());
        EXPECT_EQ(5, world.random().draw());
        EXPECT_EQ(6, world.random().draw());
    }
    EXPECT_EQ(&own, &world.random());
    EXPECT_EQ(7u, own.state()) << "the world's own source took no draw while the script stood in";
}
