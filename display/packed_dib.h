// A packed device-independent bitmap: a 40-byte info header, a colour table
// and the pixel data, with no file header (the form of a bitmap resource).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "display/indexed_image.h"

constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kCompressionRle8 = 1;
constexpr size_t kBmpFileHeaderSize = 14;

struct DibHeader {
    uint32_t headerSize = kInfoHeaderSize;
    int32_t width = 0;
    int32_t height = 0;  // positive: rows stored bottom-up
    uint16_t planes = 1;
    uint16_t bitCount = 8;
    uint32_t compression = kCompressionRle8;
    uint32_t imageSize = 0;  // bytes of pixel data
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint32_t colorsUsed = 0;
    uint32_t colorsImportant = 0;
};

struct RgbColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const RgbColor& o) const { return red == o.red && green == o.green && blue == o.blue; }
};

struct PackedDibLayout {
    DibHeader header;
    uint32_t colorCount = 0;  // colours used, or 2^bitCount when that field is 0
    size_t pixelOffset = 0;   // header size + 4 * colorCount
    size_t pixelSize = 0;     // bytes available from pixelOffset
};

// Reads the header and locates the colour table and pixel data inside size
// bytes. Fails on a short buffer, a header smaller than 40 bytes, or a colour
// table larger than the bit depth allows or than the buffer holds.
bool ParsePackedDib(const uint8_t* data, size_t size, PackedDibLayout* layout);

// Colour-table entry i (stored blue, green, red, reserved). The caller has
// checked i < layout.colorCount with ParsePackedDib.
RgbColor PackedDibColor(const uint8_t* data, const PackedDibLayout& layout, uint32_t i);

// Header, colour table and pixel data as one block; imageSize is set from
// pixels, colorsUsed from the table unless the header already gives it.
std::vector<uint8_t> BuildPackedDib(DibHeader header, const std::vector<RgbColor>& colors,
                                    const std::vector<uint8_t>& pixels);

// The same block behind a 14-byte BITMAPFILEHEADER, i.e. a .bmp file.
std::vector<uint8_t> WithBmpFileHeader(const std::vector<uint8_t>& packed, const PackedDibLayout& layout);

// An 8-bit BI_RLE8 packed bitmap decoded to its palette indices (top row
// first). False for any other format or damaged data.
bool DecodePackedRle8(const uint8_t* data, size_t size, IndexedImage* image);
