#include "web/canvas_frame.h"

#include <gtest/gtest.h>

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
        const IndexedImage enlarged = EnlargedImage(sheet, scale);
        CanvasFrame frame;
        frame.setSheet(&enlarged);
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

}  // namespace
