#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "display/packed_dib.h"
#include "display/rle8.h"

namespace {

std::vector<RgbColor> Colors(int n) {
    std::vector<RgbColor> colors;
    for (int i = 0; i < n; ++i) {
        colors.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(2 * i), static_cast<uint8_t>(255 - i)});
    }
    return colors;
}

// A 5 x 3 RLE8 bitmap with the given colour table and colours-used field.
std::vector<uint8_t> SmallDib(int tableSize, uint32_t colorsUsed, IndexedImage* picture = nullptr) {
    IndexedImage image(5, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            image.at(x, y) = static_cast<uint8_t>((x + 3 * y) % tableSize);
        }
    }
    if (picture != nullptr) {
        *picture = image;
    }
    DibHeader header;
    header.width = 5;
    header.height = 3;
    header.colorsUsed = colorsUsed;
    return BuildPackedDib(header, Colors(tableSize), EncodeRle8(image));
}

void Put32(std::vector<uint8_t>& dib, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        dib[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

}  // namespace

TEST(PackedDib, HeaderFieldsAndLayoutAreReadBack) {
    IndexedImage picture;
    std::vector<uint8_t> dib = SmallDib(16, 16, &picture);
    PackedDibLayout layout;
    ASSERT_TRUE(ParsePackedDib(dib.data(), dib.size(), &layout));
    EXPECT_EQ(layout.header.headerSize, 40u);
    EXPECT_EQ(layout.header.width, 5);
    EXPECT_EQ(layout.header.height, 3);
    EXPECT_EQ(layout.header.planes, 1);
    EXPECT_EQ(layout.header.bitCount, 8);
    EXPECT_EQ(layout.header.compression, kCompressionRle8);
    EXPECT_EQ(layout.header.colorsUsed, 16u);
    EXPECT_EQ(layout.colorCount, 16u);
    EXPECT_EQ(layout.pixelOffset, 40u + 64u);
    EXPECT_EQ(layout.header.imageSize, dib.size() - 104);
    EXPECT_EQ(layout.pixelSize, layout.header.imageSize);
    EXPECT_EQ(PackedDibColor(dib.data(), layout, 3), (RgbColor{3, 6, 252}));

    IndexedImage decoded;
    ASSERT_TRUE(DecodePackedRle8(dib.data(), dib.size(), &decoded));
    EXPECT_EQ(decoded.pixels, picture.pixels);
}

TEST(PackedDib, ZeroColoursUsedMeansAFullTable) {
    std::vector<uint8_t> dib = SmallDib(256, 0);
    Put32(dib, 32, 0);
    PackedDibLayout layout;
    ASSERT_TRUE(ParsePackedDib(dib.data(), dib.size(), &layout));
    EXPECT_EQ(layout.colorCount, 256u);
    EXPECT_EQ(layout.pixelOffset, 40u + 1024u);

    dib[14] = 4;  // bits per pixel: a 4-bit table has 16 entries
    ASSERT_TRUE(ParsePackedDib(dib.data(), dib.size(), &layout));
    EXPECT_EQ(layout.colorCount, 16u);
    IndexedImage image;
    EXPECT_FALSE(DecodePackedRle8(dib.data(), dib.size(), &image)) << "a 4-bit bitmap is not an RLE8 sheet";
}

TEST(PackedDib, DamagedHeadersAreRefused) {
    const std::vector<uint8_t> good = SmallDib(16, 16);
    struct Case {
        const char* what;
        size_t offset;  // a 32-bit field to overwrite, or a length to cut to
        uint32_t value;
        bool cut;
    };
    const Case cases[] = {
        {"shorter than a header", 39, 0, true},
        {"colour table cut off", 80, 0, true},
        {"header size below 40", 0, 12, false},
        {"header size past the end", 0, 100000, false},
        {"more colours than 8 bits allow", 32, 257, false},
        {"colour table past the end", 32, 250, false},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> dib = good;
        if (c.cut) {
            dib.resize(c.offset);
        } else {
            Put32(dib, c.offset, c.value);
        }
        PackedDibLayout layout;
        EXPECT_FALSE(ParsePackedDib(dib.data(), dib.size(), &layout)) << c.what;
        IndexedImage image;
        EXPECT_FALSE(DecodePackedRle8(dib.data(), dib.size(), &image)) << c.what;
    }

    const Case undecodable[] = {
        {"pixel-data size past the end", 20, 100000, false},
        {"uncompressed", 16, 0, false},
        {"negative height (top-down)", 8, 0xFFFFFFFDu, false},
        {"zero width", 4, 0, false},
        {"absurd width", 4, 1u << 20, false},
        {"pixel data cut off", good.size() - 3, 0, true},
    };
    for (const Case& c : undecodable) {
        std::vector<uint8_t> dib = good;
        if (c.cut) {
            dib.resize(c.offset);
            Put32(dib, 20, 0);  // size unknown: the decoder must find the end itself
        } else {
            Put32(dib, c.offset, c.value);
        }
        IndexedImage image;
        EXPECT_FALSE(DecodePackedRle8(dib.data(), dib.size(), &image)) << c.what;
    }
}

TEST(PackedDib, BmpFileHeaderPointsAtThePixels) {
    std::vector<uint8_t> dib = SmallDib(16, 16);
    PackedDibLayout layout;
    ASSERT_TRUE(ParsePackedDib(dib.data(), dib.size(), &layout));
    std::vector<uint8_t> bmp = WithBmpFileHeader(dib, layout);
    ASSERT_EQ(bmp.size(), dib.size() + 14);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    auto read32 = [&](size_t at) { return bmp[at] | bmp[at + 1] << 8 | bmp[at + 2] << 16 | bmp[at + 3] << 24; };
    EXPECT_EQ(static_cast<size_t>(read32(2)), bmp.size());
    EXPECT_EQ(read32(6), 0);
    EXPECT_EQ(read32(10), 14 + 104);
    EXPECT_TRUE(std::equal(dib.begin(), dib.end(), bmp.begin() + 14));
}

// Found by fuzzing: six bytes of pixel data (two line ends and the end of the
// bitmap) may stand for a large picture. It decodes to exactly the header's
// size, every pixel the background, and nothing is read past the data.
TEST(PackedDib, FewBytesMayDescribeALargeBackgroundPicture) {
    DibHeader header;
    header.width = 12036;
    header.height = 2178;
    const std::vector<uint8_t> dib = BuildPackedDib(header, Colors(4), {0, 0, 0, 0, 0, 1});
    IndexedImage image;
    ASSERT_TRUE(DecodePackedRle8(dib.data(), dib.size(), &image));
    EXPECT_EQ(image.width, 12036);
    EXPECT_EQ(image.height, 2178);
    ASSERT_EQ(image.pixels.size(), size_t{12036} * 2178);
    EXPECT_EQ(std::count(image.pixels.begin(), image.pixels.end(), 0), static_cast<long>(image.pixels.size()));
}
