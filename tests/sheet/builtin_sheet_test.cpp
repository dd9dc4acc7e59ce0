// The sheet compiled into native programs is the generator's, byte for byte,
// and decodes to the drawing and its palette.
#include <gtest/gtest.h>

#include <vector>

#include "resources/builtin_sheet.h"
#include "sheet/sheet_art.h"
#include "sheet/sheet_palette.h"

TEST(BuiltInSheet, HoldsTheGeneratorsBytesAndDecodesToItsDrawing) {
    const std::vector<uint8_t> generated = BuildSheetDib();
    ASSERT_EQ(BuiltInSheetSize(), generated.size());
    EXPECT_EQ(std::vector<uint8_t>(BuiltInSheetBytes(), BuiltInSheetBytes() + BuiltInSheetSize()), generated);

    const DecodedSheet& sheet = BuiltInSheet();
    const IndexedImage drawing = DrawSheet();
    EXPECT_EQ(sheet.image.width, drawing.width);
    EXPECT_EQ(sheet.image.height, drawing.height);
    EXPECT_TRUE(sheet.image.pixels == drawing.pixels);
    EXPECT_EQ(sheet.palette, SheetPalette());
}

TEST(BuiltInSheet, DamagedDataIsRefusedAndLeavesTheSheetAlone) {
    DecodedSheet sheet;
    sheet.palette.resize(3);
    const std::vector<uint8_t> bytes(BuiltInSheetBytes(), BuiltInSheetBytes() + BuiltInSheetSize());
    EXPECT_FALSE(DecodeSheet(bytes.data(), 30, &sheet));                // inside the header
    EXPECT_FALSE(DecodeSheet(bytes.data(), bytes.size() - 2, &sheet));  // no end-of-bitmap
    EXPECT_EQ(sheet.palette.size(), 3u);
    EXPECT_EQ(sheet.image.width, 0);
}
