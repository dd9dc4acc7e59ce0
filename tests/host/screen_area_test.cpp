#include "host/screen_area.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

void ExpectArea(const ScreenRect& got, int32_t left, int32_t top, int32_t width, int32_t height) {
    EXPECT_EQ(got.left, left);
    EXPECT_EQ(got.top, top);
    EXPECT_EQ(got.width, width);
    EXPECT_EQ(got.height, height);
}

TEST(FullScreenArea, SpansEveryMonitorWhereverThePrimaryOneSits) {
    // One monitor: the virtual screen is the primary screen.
    ExpectArea(FullScreenArea({{0, 0, 1920, 1080}, 1920, 1080}), 0, 0, 1920, 1080);
    // A second monitor to the right, taller than the primary one.
    ExpectArea(FullScreenArea({{0, 0, 1920 + 1280, 1440}, 1920, 1080}), 0, 0, 3200, 1440);
    // A second monitor to the left and above: the area starts at negative
    // coordinates, where the window must be placed.
    ExpectArea(FullScreenArea({{-1280, -360, 1280 + 1920, 1440}, 1920, 1080}), -1280, -360, 3200, 1440);
    // Stacked, the other one below.
    ExpectArea(FullScreenArea({{0, 0, 1024, 768 + 1024}, 1024, 768}), 0, 0, 1024, 1792);
}

TEST(FullScreenArea, PrimaryScreenWhenNoVirtualScreenIsReported) {
    // Windows 95 and NT 4 answer 0 for every virtual-screen metric.
    ExpectArea(FullScreenArea({{0, 0, 0, 0}, 640, 480}), 0, 0, 640, 480);
    ExpectArea(FullScreenArea({{0, 0, 0, 768}, 1024, 768}), 0, 0, 1024, 768);
    ExpectArea(FullScreenArea({{0, 0, 1024, -1}, 1024, 768}), 0, 0, 1024, 768);
}

TEST(FullScreenArea, AVirtualScreenMissingPartOfThePrimaryOneIsNotBelieved) {
    ExpectArea(FullScreenArea({{0, 0, 800, 600}, 1024, 768}), 0, 0, 1024, 768);
    ExpectArea(FullScreenArea({{10, 0, 2000, 768}, 1024, 768}), 0, 0, 1024, 768);
    ExpectArea(FullScreenArea({{0, 0, 1024, 767}, 1024, 768}), 0, 0, 1024, 768);
    // Edges far enough out to wrap in 32 bits.
    ExpectArea(FullScreenArea({{INT_MIN, 0, INT_MAX, 768}, 1024, 768}), 0, 0, 1024, 768);
    ExpectArea(FullScreenArea({{-10, -10, INT_MAX, INT_MAX}, 1024, 768}), -10, -10, INT_MAX, INT_MAX);
}

}  // namespace
