// Checks our encoding against an independent BI_RLE8 decoder: ImageMagick
// reads the sheet as a .bmp file and must see the same colours as we do.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "display/packed_dib.h"
#include "sheet/sheet_art.h"

TEST(SheetImageMagick, DecodesTheSheetToTheSameColours) {
    if (std::system("command -v convert >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    }
    std::vector<uint8_t> packed = BuildSheetDib();
    PackedDibLayout layout;
    IndexedImage ours;
    ASSERT_TRUE(ParsePackedDib(packed.data(), packed.size(), &layout));
    ASSERT_TRUE(DecodePackedRle8(packed.data(), packed.size(), &ours));

    std::string dir = testing::TempDir() + "sheet_im_" + std::to_string(getpid());
    ASSERT_EQ(std::system(("mkdir -p '" + dir + "'").c_str()), 0);
    std::string bmpPath = dir + "/sheet.bmp";
    std::string rgbPath = dir + "/sheet.rgb";
    {
        std::vector<uint8_t> bmp = WithBmpFileHeader(packed, layout);
        std::ofstream out(bmpPath, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
    }
    std::string command = "convert 'bmp:" + bmpPath + "' -depth 8 'rgb:" + rgbPath + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream in(rgbPath, std::ios::binary);
    std::vector<uint8_t> theirs((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::system(("rm -rf '" + dir + "'").c_str());

    ASSERT_EQ(theirs.size(), ours.pixels.size() * 3);
    int mismatches = 0;
    for (size_t i = 0; i < ours.pixels.size(); ++i) {
        RgbColor c = PackedDibColor(packed.data(), layout, ours.pixels[i]);
        if (theirs[3 * i] != c.red || theirs[3 * i + 1] != c.green || theirs[3 * i + 2] != c.blue) {
            if (mismatches++ < 5) {
                ADD_FAILURE() << "pixel " << i % ours.width << "," << i / ours.width << ": ImageMagick "
                              << int(theirs[3 * i]) << "," << int(theirs[3 * i + 1]) << "," << int(theirs[3 * i + 2])
                              << ", ours " << int(c.red) << "," << int(c.green) << "," << int(c.blue);
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}
