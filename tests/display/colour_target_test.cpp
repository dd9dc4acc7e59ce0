// The 32-bit targets paint what the 8-bit frame paints, in colours: copies
// and fills clipped at every edge, also through a ScaledTarget, enlarging
// the sheet as they copy, and record every pixel they changed.
#include "display/colour_target.h"

#include <gtest/gtest.h>

#include "display/display_scale.h"
#include "display/frame_target.h"

namespace {

struct Operation {
    bool fill;
    int srcX, srcY, dstX, dstY, width, height;
};

void Apply(PaintTarget& target, const Operation& op) {
    if (op.fill) {
        target.fillBlack({op.dstX, op.dstY, op.dstX + op.width, op.dstY + op.height});
    } else {
        target.copy(op.srcX, op.srcY, op.dstX, op.dstY, op.width, op.height);
    }
}

// plain in colours, each pixel scale x scale.
ColourImage EnlargedInColours(const IndexedImage& plain, int scale, const ColourTable& colours) {
    ColourImage picture{plain.width * scale, plain.height * scale, {}};
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const uint8_t index = plain.at(x / scale, y / scale);
            picture.pixels.push_back(index < colours.size() ? colours[index] : 0);
        }
    }
    return picture;
}

bool Covered(const std::vector<PaintRect>& rects, int x, int y) {
    for (const PaintRect& r : rects) {
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) {
            return true;
        }
    }
    return false;
}

IndexedImage TestSheet() {
    IndexedImage sheet(40, 30);
    for (size_t i = 0; i < sheet.pixels.size(); ++i) {
        sheet.pixels[i] = static_cast<uint8_t>(1 + i % 250);
    }
    return sheet;
}

ColourTable TestColours() {
    ColourTable colours(200);  // indices from 200 on have no colour: black
    for (size_t i = 1; i < colours.size(); ++i) {
        colours[i] = static_cast<uint32_t>(0x10305 * i) & 0xFFFFFFu;
    }
    return colours;
}

constexpr Operation kOperations[] = {
    {false, 0, 0, 3, 4, 10, 8},       // inside
    {false, 5, 6, 45, 30, 12, 9},     // over the right and bottom edges
    {false, 2, 2, -4, -3, 9, 9},      // over the left and top edges
    {false, -2, 25, 20, 1, 8, 9},     // partly outside the sheet
    {true, 0, 0, -2, 10, 7, 5},       // a fill over the left edge
    {false, 30, 20, 60, 50, 5, 5},    // wholly outside
    {true, 0, 0, 8, 6, 3, 3},         // a fill inside
    {false, 10, 10, 30, 20, 20, 20},  // inside the picture, over the sheet's edge
};

TEST(ColourTarget, PaintsTheIndexedPictureInColoursAndRecordsWhatChanged) {
    const IndexedImage sheet = TestSheet();
    const ColourTable colours = TestColours();
    const auto& operations = kOperations;
    const ClientSize logical{50, 36};
    for (int scale : {1, 3}) {
        IndexedImage plain(logical.width, logical.height, 0xD0);
        FrameTarget plainTarget(plain, &sheet);
        const ColourImage sprites = InColours(sheet, colours);
        ColourImage picture = EnlargedInColours(plain, scale, colours);
        const ColourImage before = picture;
        ColourTarget device({picture.pixels.data(), picture.width, picture.height}, &sprites, scale);
        ScaledTarget scaled(device, scale);
        for (const Operation& op : operations) {
            Apply(plainTarget, op);
            Apply(scaled, op);
        }
        EXPECT_TRUE(EnlargedInColours(plain, scale, colours).pixels == picture.pixels) << "scale " << scale;
        int unrecorded = 0;
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                const size_t i = static_cast<size_t>(y) * picture.width + x;
                unrecorded += picture.pixels[i] != before.pixels[i] && !Covered(device.changed().changes(), x, y);
            }
        }
        EXPECT_EQ(0, unrecorded) << "scale " << scale;
        EXPECT_EQ(7u, device.changed().changes().size()) << "scale " << scale << ": one for each operation inside";
    }
}

}  // namespace
