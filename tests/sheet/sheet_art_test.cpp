#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "display/packed_dib.h"
#include "display/sheet_geometry.h"
#include "sheet/sheet_art.h"
#include "sheet/sheet_palette.h"

namespace {

struct Square {
    int x, y, size;
};

// Every sprite square of the sheet, from the geometry table.
std::vector<Square> SpriteSquares() {
    std::vector<Square> squares;
    for (int band = 0; band < kBandCount; ++band) {
        for (const SpriteGroup& g : kSpriteGroups) {
            int top = BandTop[band];
            for (int s = 0; s < kStretchStages; ++s) {
                for (int f = 0; f < kWriggleFrames; ++f) {
                    squares.push_back({f * g.wriggleSize, top + g.blockTop + s * g.wriggleSize, g.wriggleSize});
                }
            }
            squares.push_back({g.singleColumn, top + g.newbornWriggleY, g.wriggleSize});
            squares.push_back({g.singleColumn, top + g.newbornPlainY, g.plainSize});
            squares.push_back({g.singleColumn, top + g.matureOneY, g.plainSize});
            squares.push_back({g.singleColumn, top + g.matureOtherY, g.plainSize});
        }
    }
    return squares;
}

IndexedImage Crop(const IndexedImage& sheet, int x, int y, int size) {
    IndexedImage part(size, size);
    for (int j = 0; j < size; ++j) {
        for (int i = 0; i < size; ++i) {
            part.at(i, j) = sheet.at(x + i, y + j);
        }
    }
    return part;
}

// The hue of a shade index, or -1 for the background and the static colours.
int HueOf(uint8_t index) {
    if (index < kFirstShade || index >= kFirstShade + kHueCount * kShadeLevels) {
        return -1;
    }
    return (index - kFirstShade) / kShadeLevels;
}

int LevelOf(uint8_t index) { return (index - kFirstShade) % kShadeLevels + 1; }

// Hues used by a sprite's pixels, and its mean ramp level.
void Survey(const IndexedImage& sprite, std::vector<int>* hues, double* meanLevel) {
    long sum = 0;
    long count = 0;
    for (uint8_t p : sprite.pixels) {
        if (p == 0) {
            continue;
        }
        int hue = HueOf(p);
        if (std::find(hues->begin(), hues->end(), hue) == hues->end()) {
            hues->push_back(hue);
        }
        sum += LevelOf(p);
        ++count;
    }
    *meanLevel = count ? static_cast<double>(sum) / count : 0;
}

std::vector<bool> Mask(const IndexedImage& sprite) {
    std::vector<bool> mask;
    for (uint8_t p : sprite.pixels) {
        mask.push_back(p != 0);
    }
    return mask;
}

// The mask turned a quarter clockwise on screen (y down): (x, y) -> (n-1-y, x).
std::vector<bool> QuarterTurn(const std::vector<bool>& mask, int n) {
    std::vector<bool> turned(mask.size());
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            turned[x * n + (n - 1 - y)] = mask[y * n + x];
        }
    }
    return turned;
}

int Differences(const std::vector<bool>& a, const std::vector<bool>& b) {
    int n = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        n += a[i] != b[i];
    }
    return n;
}

class SheetArt : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        sheet_ = new IndexedImage(DrawSheet());
        dib_ = new std::vector<uint8_t>(BuildSheetDib());
    }
    static void TearDownTestSuite() {
        delete sheet_;
        delete dib_;
    }
    static const IndexedImage& sheet() { return *sheet_; }
    static const std::vector<uint8_t>& dib() { return *dib_; }

private:
    static IndexedImage* sheet_;
    static std::vector<uint8_t>* dib_;
};

IndexedImage* SheetArt::sheet_ = nullptr;
std::vector<uint8_t>* SheetArt::dib_ = nullptr;

}  // namespace

TEST_F(SheetArt, HeaderFieldsDescribeAPacked256ColourRle8Bitmap) {
    PackedDibLayout layout;
    ASSERT_TRUE(ParsePackedDib(dib().data(), dib().size(), &layout));
    const DibHeader& h = layout.header;
    EXPECT_EQ(h.headerSize, 40u);
    EXPECT_EQ(h.width, 540);
    EXPECT_EQ(h.height, 1890);
    EXPECT_EQ(h.planes, 1);
    EXPECT_EQ(h.bitCount, 8);
    EXPECT_EQ(h.compression, 1u);
    EXPECT_EQ(h.xPelsPerMeter, 0);
    EXPECT_EQ(h.yPelsPerMeter, 0);
    EXPECT_EQ(h.colorsUsed, 256u);
    EXPECT_EQ(h.colorsImportant, 256u);
    EXPECT_EQ(layout.pixelOffset, 40u + 1024u);
    EXPECT_EQ(dib().size(), 40u + 4u * h.colorsUsed + h.imageSize) << "total size from the header fields";
    ASSERT_GT(h.imageSize, 2u);
    EXPECT_EQ(dib()[dib().size() - 2], 0);
    EXPECT_EQ(dib().back(), 1) << "pixel data must end with end-of-bitmap";
}

TEST_F(SheetArt, PaletteKeepsTheTwentyStaticColours) {
    PackedDibLayout layout;
    ASSERT_TRUE(ParsePackedDib(dib().data(), dib().size(), &layout));
    const RgbColor expected[20] = {
        {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
        {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
        {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
        {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
    };
    for (int i = 0; i < 20; ++i) {
        uint32_t entry = i < 10 ? i : 236 + i;
        RgbColor got = PackedDibColor(dib().data(), layout, entry);
        EXPECT_EQ(got, expected[i]) << "entry " << entry << " is " << int(got.red) << "," << int(got.green) << ","
                                    << int(got.blue);
    }
    // The reserved byte of every entry is 0.
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(dib()[40 + 4 * i + 3], 0) << "entry " << i;
    }
}

TEST_F(SheetArt, EncodedSheetDecodesToTheDrawing) {
    IndexedImage decoded;
    ASSERT_TRUE(DecodePackedRle8(dib().data(), dib().size(), &decoded));
    EXPECT_EQ(decoded.width, kSheetWidth);
    EXPECT_EQ(decoded.height, kSheetHeight);
    EXPECT_TRUE(decoded.pixels == sheet().pixels);
}

TEST_F(SheetArt, SpritesStayInsideTheirSquaresAndUseOnlyTheShades) {
    std::vector<int> owner(static_cast<size_t>(kSheetWidth) * kSheetHeight, -1);
    std::vector<Square> squares = SpriteSquares();
    for (size_t i = 0; i < squares.size(); ++i) {
        const Square& q = squares[i];
        for (int y = q.y; y < q.y + q.size; ++y) {
            for (int x = q.x; x < q.x + q.size; ++x) {
                ASSERT_EQ(owner[y * kSheetWidth + x], -1) << "squares overlap at " << x << "," << y;
                owner[y * kSheetWidth + x] = static_cast<int>(i);
            }
        }
    }
    int outside = 0, badIndex = 0, onMargin = 0;
    for (int y = 0; y < kSheetHeight; ++y) {
        for (int x = 0; x < kSheetWidth; ++x) {
            uint8_t p = sheet().at(x, y);
            if (p == 0) {
                continue;
            }
            int i = owner[y * kSheetWidth + x];
            if (i < 0) {
                if (outside++ == 0)
                    ADD_FAILURE() << "sprite pixel outside every square at " << x << "," << y;
                continue;
            }
            if (p < kFirstShade || p > kLastShade) {
                if (badIndex++ == 0)
                    ADD_FAILURE() << "static colour " << int(p) << " at " << x << "," << y;
            }
            const Square& q = squares[i];
            if (x == q.x || y == q.y || x == q.x + q.size - 1 || y == q.y + q.size - 1) {
                if (onMargin++ == 0)
                    ADD_FAILURE() << "pixel on the black margin at " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(outside + badIndex + onMargin, 0);
    EXPECT_EQ(sheet().at(0, 0), 0);
    for (const Square& q : squares) {
        IndexedImage sprite = Crop(sheet(), q.x, q.y, q.size);
        EXPECT_GT(std::count_if(sprite.pixels.begin(), sprite.pixels.end(), [](uint8_t p) { return p != 0; }),
                  q.size * q.size / 8)
            << "nearly empty sprite at " << q.x << "," << q.y;
    }
}

TEST_F(SheetArt, WriggleSpriteOfBand3Size30Frame5Stage2IsAtX150Y1185) {
    const SpriteGroup& middle = kSpriteGroups[1];
    ASSERT_EQ(middle.wriggleSize, 30);
    int x = 5 * middle.wriggleSize;
    int y = BandTop[3] + middle.blockTop + 2 * middle.wriggleSize;
    EXPECT_EQ(x, 150);
    EXPECT_EQ(y, 1185);
    EXPECT_TRUE(Crop(sheet(), 150, 1185, 30).pixels == DrawWriggleSprite(30, 5, 2, kRed).pixels);
}

TEST_F(SheetArt, SingleSpriteTable) {
    struct Row {
        int c, d, blockTop, column, newbornWriggle, newbornPlain, matureOne, matureOther;
    };
    const Row rows[3] = {
        {15, 10, 270, 120, 270, 285, 295, 305},
        {30, 20, 180, 240, 180, 210, 230, 250},
        {60, 40, 0, 480, 0, 60, 100, 140},
    };
    for (int i = 0; i < 3; ++i) {
        const SpriteGroup& g = kSpriteGroups[i];
        const Row& r = rows[i];
        EXPECT_EQ(g.wriggleSize, r.c);
        EXPECT_EQ(g.plainSize, r.d);
        EXPECT_EQ(g.blockTop, r.blockTop);
        EXPECT_EQ(g.singleColumn, r.column);
        EXPECT_EQ(g.newbornWriggleY, r.newbornWriggle);
        EXPECT_EQ(g.newbornPlainY, r.newbornPlain);
        EXPECT_EQ(g.matureOneY, r.matureOne);
        EXPECT_EQ(g.matureOtherY, r.matureOther);
    }
    EXPECT_EQ(std::vector<int>(BandTop, BandTop + 6), (std::vector<int>{0, 315, 630, 945, 1260, 1575}));
}

TEST_F(SheetArt, EachSpriteShowsItsRoleInTheRightColour) {
    // Band order blue, green, cyan, red, magenta, yellow; one-species mature
    // balls green, red, magenta, blue, yellow, cyan.
    const int bandHue[6] = {kBlue, kGreen, kCyan, kRed, kMagenta, kYellow};
    const int oneSpeciesHue[6] = {kGreen, kRed, kMagenta, kBlue, kYellow, kCyan};
    for (int band = 0; band < kBandCount; ++band) {
        for (const SpriteGroup& g : kSpriteGroups) {
            int top = BandTop[band];
            SCOPED_TRACE(testing::Message() << "band " << band << ", size " << g.wriggleSize);
            std::vector<int> hues;
            double level = 0;
            for (int s = 0; s < kStretchStages; ++s) {
                for (int f = 0; f < kWriggleFrames; ++f) {
                    Survey(Crop(sheet(), f * g.wriggleSize, top + g.blockTop + s * g.wriggleSize, g.wriggleSize), &hues,
                           &level);
                }
            }
            EXPECT_EQ(hues, std::vector<int>{bandHue[band]});

            std::vector<int> newbornHues, matureHues, oneHues;
            double newbornLevel = 0, matureLevel = 0, oneLevel = 0;
            Survey(Crop(sheet(), g.singleColumn, top + g.newbornPlainY, g.plainSize), &newbornHues, &newbornLevel);
            Survey(Crop(sheet(), g.singleColumn, top + g.matureOtherY, g.plainSize), &matureHues, &matureLevel);
            Survey(Crop(sheet(), g.singleColumn, top + g.matureOneY, g.plainSize), &oneHues, &oneLevel);
            EXPECT_EQ(newbornHues, std::vector<int>{bandHue[band]});
            EXPECT_EQ(matureHues, std::vector<int>{bandHue[band]});
            EXPECT_EQ(oneHues, std::vector<int>{oneSpeciesHue[band]});
            EXPECT_LT(matureLevel, 0.8 * newbornLevel) << "the mature ball should be darker than the newborn";
        }
    }
}

TEST_F(SheetArt, NewbornWithWriggleIsSmallerThanTheCellAndCentred) {
    for (const SpriteGroup& g : kSpriteGroups) {
        IndexedImage sprite = Crop(sheet(), g.singleColumn, BandTop[2] + g.newbornWriggleY, g.wriggleSize);
        int left = sprite.width, right = -1, top = sprite.height, bottom = -1;
        for (int y = 0; y < sprite.height; ++y) {
            for (int x = 0; x < sprite.width; ++x) {
                if (sprite.at(x, y) != 0) {
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                }
            }
        }
        SCOPED_TRACE(testing::Message() << "cell " << g.wriggleSize);
        EXPECT_LT(right - left + 1, g.wriggleSize - 2);
        EXPECT_LT(bottom - top + 1, g.wriggleSize - 2);
        EXPECT_EQ(left, g.wriggleSize - 1 - right) << "not centred across";
        EXPECT_EQ(top, g.wriggleSize - 1 - bottom) << "not centred down";
    }
}

TEST_F(SheetArt, WriggleFramesTurnOnceAndStagesStretch) {
    for (const SpriteGroup& g : kSpriteGroups) {
        int c = g.wriggleSize;
        auto body = [&](int frame, int stage) {
            return Crop(sheet(), frame * c, BandTop[0] + g.blockTop + stage * c, c);
        };
        SCOPED_TRACE(testing::Message() << "cell " << c);
        for (int s = 0; s < kStretchStages; ++s) {
            for (int f = 0; f < kWriggleFrames; ++f) {
                std::vector<bool> here = Mask(body(f, s));
                std::vector<bool> next = Mask(body((f + 2) % 8, s));
                std::vector<bool> opposite = Mask(body((f + 4) % 8, s));
                // Two frames on is a quarter turn (up to a few edge pixels,
                // which the fixed light rounds differently); four frames on is
                // not the same outline, because the head is larger than the
                // tail (too subtle to count at 15 pixels).
                EXPECT_LE(Differences(QuarterTurn(here, c), next), c / 2 + 2) << "frame " << f << " stage " << s;
                if (c >= 30) {
                    EXPECT_GT(Differences(here, opposite), c / 3) << "frame " << f << " stage " << s;
                }
            }
        }
        // Frame 0 points to the right: the body's spread along x grows with
        // the stage.
        double spread[kStretchStages];
        for (int s = 0; s < kStretchStages; ++s) {
            IndexedImage sprite = body(0, s);
            double sum = 0, sumSquares = 0, count = 0;
            for (int y = 0; y < c; ++y) {
                for (int x = 0; x < c; ++x) {
                    if (sprite.at(x, y) != 0) {
                        sum += x;
                        sumSquares += x * x;
                        ++count;
                    }
                }
            }
            spread[s] = sumSquares / count - (sum / count) * (sum / count);
        }
        EXPECT_LT(spread[0], spread[1]);
        EXPECT_LT(spread[1], spread[2]);
    }
}
