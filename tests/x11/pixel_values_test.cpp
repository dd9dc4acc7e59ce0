#include <gtest/gtest.h>

#include "x11/dirty_rects.h"
#include "x11/pixel_format.h"

namespace {

bool Same(const PaintRect& a, const PaintRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

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

TEST(DirtyRects, NeighboursInARowJoinAndOthersStayApart) {
    DirtyRects dirty({100, 50});
    dirty.add({0, 0, 10, 10});
    dirty.add({10, 0, 20, 10});
    dirty.add({30, 0, 40, 10});   // a gap
    dirty.add({40, 10, 50, 20});  // the next row
    const auto rects = dirty.take();
    ASSERT_EQ(rects.size(), 3u);
    EXPECT_TRUE(Same(rects[0], {0, 0, 20, 10}));
    EXPECT_TRUE(Same(rects[1], {30, 0, 40, 10}));
    EXPECT_TRUE(Same(rects[2], {40, 10, 50, 20}));
    EXPECT_TRUE(dirty.empty()) << "take() forgets";
}

TEST(DirtyRects, ClippedToTheFrameAndEmptyOnesDropped) {
    DirtyRects dirty({100, 50});
    dirty.add({95, 45, 110, 60});
    dirty.add({-5, -5, 0, 10});
    dirty.add({200, 0, 210, 10});
    const auto rects = dirty.take();
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_TRUE(Same(rects[0], {95, 45, 100, 50}));
}

TEST(DirtyRects, AWholeFrameFillReplacesWhatCameBeforeButNotAfter) {
    DirtyRects dirty({100, 50});
    dirty.add({0, 0, 10, 10});
    dirty.add({-1, -1, 101, 51});  // ClearScreen may cover more than the frame
    dirty.add({20, 20, 30, 30});
    const auto rects = dirty.take();
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_TRUE(Same(rects[0], {0, 0, 100, 50}));
    EXPECT_TRUE(Same(rects[1], {20, 20, 30, 30}));
}
