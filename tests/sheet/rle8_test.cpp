#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "display/rle8.h"

namespace {

// A small deterministic generator for test pictures.
uint32_t NextRandom(uint32_t& state) {
    state = state * 1103515245u + 12345u;
    return state >> 16;
}

IndexedImage Picture(int width, int height, int pattern) {
    IndexedImage image(width, height);
    uint32_t state = static_cast<uint32_t>(pattern) + 1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t value = 0;
            switch (pattern) {
                case 0:
                    value = 0;
                    break;  // all background
                case 1:
                    value = static_cast<uint8_t>(NextRandom(state));
                    break;  // no runs at all
                case 2:
                    value = static_cast<uint8_t>((x / 2) % 3 + 10);
                    break;  // runs of exactly 2
                case 3:
                    value = static_cast<uint8_t>(x < 300 ? 7 : 8);
                    break;  // runs longer than 255
                case 4:
                    value = static_cast<uint8_t>(x + y);
                    break;  // literals longer than 255
                default:
                    value = static_cast<uint8_t>(NextRandom(state) % 3 == 0 ? 20 + y : 0);
                    break;
            }
            image.at(x, y) = value;
        }
    }
    return image;
}

bool Decode(const std::vector<uint8_t>& data, int width, int height, IndexedImage* image) {
    return DecodeRle8(data.data(), data.size(), width, height, image);
}

}  // namespace

TEST(Rle8, EncodedPicturesDecodeToThemselves) {
    const int sizes[][2] = {{1, 1}, {2, 3}, {3, 2}, {37, 5}, {540, 4}, {600, 2}};
    for (int pattern = 0; pattern <= 5; ++pattern) {
        for (const auto& size : sizes) {
            IndexedImage image = Picture(size[0], size[1], pattern);
            std::vector<uint8_t> data = EncodeRle8(image);
            ASSERT_GE(data.size(), 2u);
            EXPECT_EQ(data[data.size() - 2], 0) << "no end-of-bitmap code";
            EXPECT_EQ(data.back(), 1) << "no end-of-bitmap code";
            IndexedImage decoded;
            ASSERT_TRUE(Decode(data, size[0], size[1], &decoded))
                << "pattern " << pattern << " " << size[0] << "x" << size[1];
            EXPECT_EQ(decoded.pixels, image.pixels) << "pattern " << pattern << " " << size[0] << "x" << size[1];
        }
    }
}

TEST(Rle8, RunsCompressAndRowsAreStoredBottomUp) {
    IndexedImage image(540, 2);
    for (int x = 0; x < 540; ++x) {
        image.at(x, 1) = 9;  // bottom row, stored first
    }
    std::vector<uint8_t> data = EncodeRle8(image);
    const std::vector<uint8_t> expected = {255, 9, 255, 9, 30, 9, 0, 0, 255, 0, 255, 0, 30, 0, 0, 1};
    EXPECT_EQ(data, expected);
}

TEST(Rle8, DecodesAbsoluteRunsDeltasAndShortRows) {
    // Bottom row: absolute 1 2 3 (padded). Top row: a delta to x 1, one 9,
    // and the rest left as background by the end of the bitmap.
    const std::vector<uint8_t> data = {0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 1, 0, 1, 9, 0, 1};
    IndexedImage image;
    ASSERT_TRUE(Decode(data, 3, 2, &image));
    EXPECT_EQ(image.pixels, (std::vector<uint8_t>{0, 9, 0, 1, 2, 3}));
}

TEST(Rle8, MalformedDataIsRefusedWithoutTouchingTheImage) {
    struct Case {
        const char* what;
        std::vector<uint8_t> data;
    };
    // All on a 3 x 2 image.
    const Case cases[] = {
        {"empty", {}},
        {"no end of bitmap", {3, 1, 0, 0, 3, 1}},
        {"odd trailing byte", {3, 1, 0}},
        {"absolute run cut short", {0, 3, 1, 2}},
        {"absolute run without its padding", {0, 3, 1, 2, 3}},
        {"delta cut short", {0, 2, 1}},
        {"encoded run past the row end", {4, 1, 0, 1}},
        {"second run past the row end", {2, 1, 2, 1, 0, 1}},
        {"absolute run past the row end", {0, 5, 1, 2, 3, 4, 5, 0, 0, 1}},
        {"pixels above the top row", {0, 0, 0, 0, 1, 7, 0, 1}},
        {"end of line above the top row", {0, 0, 0, 0, 0, 0, 0, 1}},
        {"delta past the right edge", {0, 2, 4, 0, 0, 1}},
        {"delta past the top", {0, 2, 0, 3, 0, 1}},
        {"delta to the top, then a pixel", {0, 2, 0, 2, 1, 7, 0, 1}},
        {"delta to the row end, then a pixel", {0, 2, 3, 0, 1, 7, 0, 1}},
    };
    for (const Case& c : cases) {
        IndexedImage image(1, 1, 42);
        EXPECT_FALSE(Decode(c.data, 3, 2, &image)) << c.what;
        EXPECT_EQ(image.width, 1) << c.what;
        EXPECT_EQ(image.pixels, std::vector<uint8_t>{42}) << c.what;
    }
    IndexedImage image;
    const std::vector<uint8_t> fine = {0, 1};
    EXPECT_TRUE(Decode(fine, 3, 2, &image));
    EXPECT_FALSE(Decode(fine, 0, 2, &image));
    EXPECT_FALSE(Decode(fine, 3, -1, &image));
}

TEST(Rle8, EveryTruncationAndRandomDamageIsHandled) {
    // Each buffer is a heap copy of exactly its length, so a read past the
    // end shows up under AddressSanitizer.
    IndexedImage picture = Picture(61, 7, 5);
    std::vector<uint8_t> data = EncodeRle8(picture);
    for (size_t length = 0; length < data.size(); ++length) {
        std::vector<uint8_t> cut(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(length));
        IndexedImage image;
        EXPECT_FALSE(Decode(cut, 61, 7, &image)) << "truncated to " << length << " bytes";
    }
    uint32_t state = 7;
    int decoded = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        std::vector<uint8_t> damaged = data;
        for (int hit = 0; hit < 3; ++hit) {
            damaged[NextRandom(state) % damaged.size()] =
                static_cast<uint8_t>(NextRandom(state) % 4 == 0 ? 0 : NextRandom(state));
        }
        IndexedImage image;
        if (Decode(damaged, 61, 7, &image)) {
            ++decoded;
            EXPECT_EQ(image.pixels.size(), 61u * 7u);
        }
    }
    EXPECT_LT(decoded, 3000) << "damage was never noticed";
}
