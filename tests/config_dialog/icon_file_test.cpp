// The committed icon is what the generator draws, and has the two images
// the saver needs.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "icon_image.h"

namespace {

std::vector<uint8_t> ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t Little(const std::vector<uint8_t>& b, size_t at, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | b[at + static_cast<size_t>(i)];
    return value;
}

TEST(IconFile, CommittedFileIsTheGeneratorsOutput) {
    const std::vector<uint8_t> committed = ReadFile(QUORBEL_COMMITTED_ICON);
    ASSERT_FALSE(committed.empty()) << QUORBEL_COMMITTED_ICON;
    EXPECT_TRUE(committed == BuildIconFile())
        << "run icon_generator " << QUORBEL_COMMITTED_ICON << " and commit the result";
}

TEST(IconFile, HoldsA16ColourAndAMonochrome32x32Image) {
    const std::vector<uint8_t> icon = BuildIconFile();
    ASSERT_GE(icon.size(), 6u + 32u);
    EXPECT_EQ(Little(icon, 2, 2), 1u);
    ASSERT_EQ(Little(icon, 4, 2), 2u);
    const struct { uint32_t colours, bits; } expected[] = {{16, 4}, {2, 1}};
    for (int i = 0; i < 2; ++i) {
        const size_t entry = 6 + 16 * static_cast<size_t>(i);
        EXPECT_EQ(icon[entry], 32);
        EXPECT_EQ(icon[entry + 1], 32);
        EXPECT_EQ(icon[entry + 2], expected[i].colours);
        EXPECT_EQ(Little(icon, entry + 6, 2), expected[i].bits);
        const uint32_t size = Little(icon, entry + 8, 4);
        const uint32_t offset = Little(icon, entry + 12, 4);
        ASSERT_LE(offset + size, icon.size());
        // BITMAPINFOHEADER: height counts the colour bits and the mask.
        EXPECT_EQ(Little(icon, offset, 4), 40u);
        EXPECT_EQ(Little(icon, offset + 8, 4), 64u);
        EXPECT_EQ(Little(icon, offset + 14, 2), expected[i].bits);
        const uint32_t stride = 32 * expected[i].bits / 8;
        EXPECT_EQ(size, 40 + 4 * expected[i].colours + (stride + 4) * 32);
    }
}

TEST(IconFile, DrawsAGliderOfFiveDistinctColours) {
    const std::vector<uint8_t> colour = DrawColourIcon();
    const std::vector<uint8_t> mono = DrawMonochromeIcon();
    // Cell centres on the 10-pixel grid starting at 1: the glider's five
    // cells are lit and the other four are black.
    const bool lit[3][3] = {{false, true, false}, {false, false, true}, {true, true, true}};
    std::vector<uint8_t> bodies;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const size_t centre = static_cast<size_t>((1 + row * 10 + 5) * kIconSize + 1 + column * 10 + 5);
            EXPECT_EQ(colour[centre] != 0, lit[row][column]) << row << "," << column;
            EXPECT_EQ(mono[centre] != 0, lit[row][column]) << row << "," << column;
            if (lit[row][column])
                bodies.push_back(colour[centre]);
        }
    }
    std::sort(bodies.begin(), bodies.end());
    EXPECT_EQ(std::unique(bodies.begin(), bodies.end()), bodies.end());
}

}  // namespace
