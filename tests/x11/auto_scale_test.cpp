#include "x11/auto_scale.h"

#include <gtest/gtest.h>

TEST(AutoScale, XftDpiFirstThenAPlausibleSizeThenLargeScreens) {
    struct Case {
        ScreenFacts facts;
        int scale;
    };
    const Case cases[] = {
        {{"192", {1024, 768}, {260, 195}}, 2},  // Xft.dpi over a 100 DPI size
        {{"144.5", {1024, 768}, {260, 195}}, 2},
        {{"96", {3840, 2160}, {508, 286}}, 1},          // Xft.dpi over a 192 DPI size
        {{"junk", {800, 600}, {106, 79}}, 2},           // not a number: the size counts
        {{std::nullopt, {800, 600}, {106, 79}}, 2},     // Xvfb -dpi 192: 192x193
        {{std::nullopt, {3840, 2160}, {975, 549}}, 1},  // Xvfb's default, 100 DPI
        {{std::nullopt, {2880, 1800}, {0, 0}}, 2},      // no size: large screen
        {{std::nullopt, {2560, 1600}, {0, 0}}, 1},
        {{std::nullopt, {1920, 1200}, {5, 3}}, 1},  // 9754 DPI: not believed
        {{std::nullopt, {3840, 2160}, {2, 1}}, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AutoScale(c.facts), c.scale)
            << c.facts.xftDpi.value_or("(none)") << " " << c.facts.pixels.width << " " << c.facts.millimetres.width;
    }
}
