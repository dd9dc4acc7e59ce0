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

TEST(MonitorBounds, HoldEveryMonitorWhereverItSits) {
    ExpectArea(Bounds({}), 0, 0, 0, 0);
    ExpectArea(Bounds({{{0, 0, 1920, 1080}}}), 0, 0, 1920, 1080);
    // Side by side, the second one shorter: the strip below it is in the
    // bounds but on no monitor.
    ExpectArea(Bounds({{{0, 0, 1920, 1080}}, {{1920, 0, 1280, 1024}}}), 0, 0, 3200, 1080);
    // The second to the left and above the primary one.
    ExpectArea(Bounds({{{0, 0, 1920, 1080}}, {{-1280, -360, 1280, 1024}}}), -1280, -360, 3200, 1440);
    // Far apart: the size is clamped, not wrapped.
    ExpectArea(Bounds({{{INT_MIN, 0, 10, 10}}, {{INT_MAX - 10, 0, 10, 10}}}), INT_MIN, 0, INT_MAX, 10);
}

TEST(MonitorPart, InTheClientAreasOwnCoordinatesClippedToIt) {
    const struct {
        ScreenRect monitor;
        ScreenRect client;
        ScreenRect part;
    } cases[] = {
        // A window over both monitors, starting left of the primary one.
        {{0, 0, 1920, 1080}, {-1280, -360, 3200, 1440}, {1280, 360, 1920, 1080}},
        {{-1280, -360, 1280, 1024}, {-1280, -360, 3200, 1440}, {0, 0, 1280, 1024}},
        // A window smaller than the monitor keeps what it covers.
        {{0, 0, 1920, 1080}, {100, 50, 400, 300}, {0, 0, 400, 300}},
        {{1920, 0, 1280, 1024}, {1800, 1000, 400, 300}, {120, 0, 280, 24}},
        // Apart or touching only at an edge: nothing.
        {{1920, 0, 1280, 1024}, {0, 0, 1920, 1080}, {0, 0, 0, 0}},
        {{0, 1080, 100, 100}, {0, 0, 1920, 1080}, {0, 0, 0, 0}},
        // Far-off edges must not wrap.
        {{INT_MAX - 10, 0, INT_MAX, 10}, {0, 0, 100, 10}, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.monitor.left << "," << c.monitor.top << " in " << c.client.left << "," << c.client.top);
        const ScreenRect& p = c.part;
        ExpectArea(PartInClient(c.monitor, c.client), p.left, p.top, p.width, p.height);
    }
}

}  // namespace
