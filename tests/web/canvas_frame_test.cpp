#include "web/canvas_frame.h"

#include <gtest/gtest.h>

#include <limits>

#include "display/display_scale.h"
#include "display/saver.h"

namespace {

// The sheet's stand-in: every index its own colour, the sheet a ramp.
RgbaPalette TestPalette() {
    RgbaPalette palette{};
    for (uint32_t i = 0; i < palette.size(); ++i) {
        palette[i] = 0xFF000000u | i * 0x010203u;
    }
    return palette;
}

TEST(CanvasFrame, EveryChangeReachesThePictureThroughFewerPixelsThanTheWhole) {
    IndexedImage sheet(540, 1890);
    for (size_t i = 0; i < sheet.pixels.size(); ++i) {
        sheet.pixels[i] = static_cast<uint8_t>(1 + i % 251);
    }
    const RgbaPalette palette = TestPalette();
    for (const int scale : {1, 2}) {
        CanvasFrame frame;
        frame.setSheet(&sheet, scale);
        frame.resize({400 * scale, 300 * scale});
        const long whole = 400L * 300 * scale * scale;
        Saver saver;
        saver.start(DefaultSettings(), {400, 300}, 11);
        int partialTicks = 0;
        for (int tick = 0; tick < 40; ++tick) {
            frame.beginTick();
            ScaledTarget target(frame, scale);
            saver.tick(target);
            partialTicks += PixelsIn(frame.endTick(palette)) < whole ? 1 : 0;
            for (size_t i = 0; i < frame.frame().pixels.size(); ++i) {
                ASSERT_EQ(frame.rgba()[i], palette[frame.frame().pixels[i]]) << "scale " << scale << ", tick " << tick;
            }
        }
        EXPECT_GT(partialTicks, 30) << "scale " << scale;
    }
}

// Sizes a window can report, up to ones whose byte count wraps: each must
// come back within every limit, keeping its shape.
TEST(CanvasFrame, APictureTooLargeIsShrunkWithinTheLimitsKeepingItsShape) {
    struct Case {
        ClientSize device;
        int64_t pixelLimit;
        ClientSize picture;
    };
    constexpr int kMaxInt = std::numeric_limits<int>::max();
    const Case cases[] = {
        {{1920, 1080}, kPicturePixelLimit, {1920, 1080}},
        {{32767, 1}, kPicturePixelLimit, {32767, 1}},
        {{0, -5}, kPicturePixelLimit, {1, 1}},
        {{40000, 10}, kPicturePixelLimit, {32767, 8}},
        {{100000, 3}, kPicturePixelLimit, {32767, 1}},
        // 16384 x 16384 CSS pixels at ratios 2 and 4, and past any window.
        {{32768, 32768}, kPicturePixelLimit, {10362, 10362}},
        {{65536, 65536}, kPicturePixelLimit, {10362, 10362}},
        {{kMaxInt, kMaxInt}, kPicturePixelLimit, {10362, 10362}},
        {{65536, 16384}, kPicturePixelLimit, {20724, 5181}},
        // What the module could not grow to hold: a lower limit.
        {{1920, 1080}, 1000000, {1333, 750}},
        {{1920, 1080}, 0, {1, 1}},
    };
    for (const Case& c : cases) {
        const ClientSize picture = CappedPicture(c.device, c.pixelLimit);
        EXPECT_EQ(picture.width, c.picture.width) << c.device.width << "x" << c.device.height;
        EXPECT_EQ(picture.height, c.picture.height) << c.device.width << "x" << c.device.height;
        EXPECT_LE(int64_t{picture.width} * picture.height * kPictureBytesPerPixel, int64_t{512} << 20);
    }
}

}  // namespace
