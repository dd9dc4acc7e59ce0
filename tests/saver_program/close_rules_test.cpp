#include "saver_program/close_rules.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(MovementTest, FourPixelsStayFiveClose) {
    EXPECT_FALSE(MovedBeyondTolerance(100, 100, 104, 100, kMoveTolerance));
    EXPECT_FALSE(MovedBeyondTolerance(100, 100, 98, 102, kMoveTolerance));
    EXPECT_FALSE(MovedBeyondTolerance(100, 100, 100, 96, kMoveTolerance));
    EXPECT_TRUE(MovedBeyondTolerance(100, 100, 103, 102, kMoveTolerance));
    EXPECT_TRUE(MovedBeyondTolerance(100, 100, 95, 100, kMoveTolerance));
    EXPECT_TRUE(MovedBeyondTolerance(100, 100, 97, 98, kMoveTolerance));
}

TEST(MovementTest, NoMovementNeverCloses) { EXPECT_FALSE(MovedBeyondTolerance(512, 384, 512, 384, kMoveTolerance)); }

TEST(MovementTest, SmallStepsAddUpAgainstTheFixedOrigin) {
    // The origin stays put while the cursor wanders in steps of 1 pixel.
    const int32_t origin = 200;
    int32_t x = origin;
    int steps = 0;
    while (!MovedBeyondTolerance(origin, origin, x, origin, kMoveTolerance)) {
        ++x;
        ++steps;
    }
    EXPECT_EQ(steps, 5);
}

TEST(MovementTest, NegativeAndExtremeCoordinates) {
    // Screens left of or above the primary one have negative coordinates.
    EXPECT_EQ(MovementDistance(-10, -10, -13, -8), 5u);
    EXPECT_EQ(MovementDistance(INT32_MIN, 0, INT32_MAX, 0), 0xFFFFFFFFu);
    EXPECT_TRUE(MovedBeyondTolerance(INT32_MIN, 0, INT32_MAX, 0, kMoveTolerance));
}

TEST(ReaskInterval, NoDialogYetNeverRefuses) {
    EXPECT_FALSE(WithinReaskInterval(0, kNoCheckYet));
    EXPECT_FALSE(WithinReaskInterval(5, kNoCheckYet));
    EXPECT_FALSE(WithinReaskInterval(0xFFFFFFFFu, kNoCheckYet));
}

TEST(ReaskInterval, TwoHundredMillisecondsAfterTheDialog) {
    EXPECT_TRUE(WithinReaskInterval(1000, 1000));
    EXPECT_TRUE(WithinReaskInterval(1199, 1000));
    EXPECT_FALSE(WithinReaskInterval(1200, 1000));
    EXPECT_FALSE(WithinReaskInterval(50000, 1000));
}

TEST(ReaskInterval, AcrossTheTickCountWrap) {
    // Dialog ended 100 ms before the wrap.
    const uint32_t end = 0xFFFFFFFFu - 99;
    EXPECT_TRUE(WithinReaskInterval(0xFFFFFFFFu - 10, end));
    EXPECT_TRUE(WithinReaskInterval(0, end));
    EXPECT_TRUE(WithinReaskInterval(99, end));
    EXPECT_FALSE(WithinReaskInterval(100, end));
    EXPECT_FALSE(WithinReaskInterval(5000, end));
}

TEST(ReaskInterval, ClockBehindTheRecordedEndCountsAsLongAgo) {
    // A tick reading before the recorded end wraps to a huge difference.
    EXPECT_FALSE(WithinReaskInterval(900, 1000));
}

}  // namespace
