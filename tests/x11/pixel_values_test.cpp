#include <gtest/gtest.h>

#include "x11/pixel_format.h"

TEST(PixelValues, EightBitFieldsTakeTheColourUnchanged) {
    const std::vector<RgbColor> palette = {{0, 0, 0}, {0x12, 0x34, 0x56}, {255, 255, 255}};
    const auto rgb = PixelValues(palette, {0xFF0000, 0x00FF00, 0x0000FF}, 24);
    EXPECT_EQ(rgb[0], 0u);
    EXPECT_EQ(rgb[1], 0x123456u);
    EXPECT_EQ(rgb[2], 0xFFFFFFu);
    EXPECT_EQ(rgb[200], 0u) << "entries past the palette are black";
    const auto bgr = PixelValues(palette, {0x0000FF, 0x00FF00, 0xFF0000}, 24);
    EXPECT_EQ(bgr[1], 0x563412u);
}

TEST(PixelValues, ADepth32VisualGetsAnOpaqueAlphaByte) {
    const auto argb = PixelValues({{0, 0, 0}, {1, 2, 3}}, {0xFF0000, 0x00FF00, 0x0000FF}, 32);
    EXPECT_EQ(argb[0], 0xFF000000u);
    EXPECT_EQ(argb[1], 0xFF010203u);
}

TEST(PixelValues, NarrowFieldsAreRoundedToTheirWidth) {
    // 5-6-5: 255 fills a field, 128 rounds to the middle.
    const auto rgb565 = PixelValues({{255, 128, 0}, {8, 4, 4}}, {0xF800, 0x07E0, 0x001F}, 16);
    EXPECT_EQ(rgb565[0], (31u << 11) | (32u << 5));
    EXPECT_EQ(rgb565[1], (1u << 11) | (1u << 5));
}
