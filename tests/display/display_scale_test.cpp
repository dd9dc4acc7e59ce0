// The display scale: the rule from a display's DPI, and a saver painted
// through a ScaledTarget, which must be the unscaled picture enlarged.
#include "display/display_scale.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "display/frame_target.h"
#include "display/saver.h"
#include "display/sheet_geometry.h"

namespace {

TEST(DisplayScale, FollowsTheDpiToTheNearestWholeNumberHalvesUp) {
    // The system's DPIs are not checked before they come here: negative and
    // huge ones too, up to the ends of int.
    const struct {
        int dpi;
        int scale;
    } cases[] = {
        {0, 1},   {96, 1},      {120, 1},     {143, 1},         {144, 2},          {168, 2},          {191, 2},
        {193, 2}, {239, 2},     {240, 3},     {288, 3},         {384, 4},          {2000, 4},         {-1, 1},
        {-96, 1}, {-100000, 1}, {INT_MIN, 1}, {INT_MIN + 1, 1}, {INT_MAX - 48, 4}, {INT_MAX - 47, 4}, {INT_MAX, 4}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.scale, ScaleForDpi(c.dpi)) << c.dpi << " DPI";
    }
}

TEST(DisplayScale, FollowsADeviceRatioAsTheDpiRuleDoes) {
    const struct {
        double ratio;
        int scale;
    } cases[] = {{0.5, 1}, {1.25, 1}, {1.499, 1}, {1.5, 2}, {2.499, 2}, {2.5, 3}, {4.5, 4}, {1e9, 4}, {NAN, 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.scale, ScaleForDeviceRatio(c.ratio)) << c.ratio;
    }
}

// Every choice but Random, six wriggling species: copies, erases and clears.
TEST(DisplayScale, ScaledPictureIsTheLogicalPictureEnlargedWithBlackStrips) {
    IndexedImage sheet(kSheetWidth, kSheetHeight);
    for (size_t i = 0; i < sheet.pixels.size(); ++i) {
        sheet.pixels[i] = static_cast<uint8_t>(1 + i % 251);
    }
    Settings settings = DefaultSettings();
    settings.Colors = SpeciesMode::Six;
    settings.Tovtov = OnOffRandom::On;
    settings.Generations = 3;  // short worlds, so renewals clear the screen
    const ClientSize logical{101, 67};
    const int scale = 3;

    IndexedImage plain(logical.width, logical.height);
    FrameTarget plainTarget(plain, &sheet);
    IndexedImage device(logical.width * scale + 2, logical.height * scale + 1, 0x55);
    FrameTarget deviceTarget(device, &sheet, scale);
    ScaledTarget scaled(deviceTarget, scale);
    ASSERT_EQ(logical.width, scaled.clientSize().width);
    ASSERT_EQ(logical.height, scaled.clientSize().height);

    Saver a;
    Saver b;
    a.start(settings, logical, 7);
    b.start(settings, scaled.clientSize(), 7);
    for (int t = 0; t < 60; ++t) {
        a.tick(plainTarget);
        b.tick(scaled);
    }
    for (int y = 0; y < device.height; ++y) {
        for (int x = 0; x < device.width; ++x) {
            const bool inside = x < plain.width * scale && y < plain.height * scale;
            const int want = inside ? plain.at(x / scale, y / scale) : 0;
            ASSERT_EQ(want, device.at(x, y)) << "at " << x << ", " << y;
        }
    }
}

}  // namespace
