#include "display/packed_dib.h"

#include "display/rle8.h"

namespace {

uint32_t Read32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
}

void Put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

}  // namespace

bool ParsePackedDib(const uint8_t* data, size_t size, PackedDibLayout* layout) {
    if (data == nullptr || size < kInfoHeaderSize) {
        return false;
    }
    DibHeader h;
    h.headerSize = Read32(data);
    h.width = static_cast<int32_t>(Read32(data + 4));
    h.height = static_cast<int32_t>(Read32(data + 8));
    h.planes = Read16(data + 12);
    h.bitCount = Read16(data + 14);
    h.compression = Read32(data + 16);
    h.imageSize = Read32(data + 20);
    h.xPelsPerMeter = static_cast<int32_t>(Read32(data + 24));
    h.yPelsPerMeter = static_cast<int32_t>(Read32(data + 28));
    h.colorsUsed = Read32(data + 32);
    h.colorsImportant = Read32(data + 36);
    if (h.headerSize < kInfoHeaderSize || h.headerSize > size) {
        return false;
    }
    uint32_t count = h.colorsUsed;
    if (h.bitCount <= 8) {
        uint32_t limit = 1u << h.bitCount;
        if (count == 0) {
            count = limit;
        }
        if (count > limit) {
            return false;
        }
    } else if (count > 256) {
        return false;  // an optional table for true-colour bitmaps; never this large here
    }
    size_t pixelOffset = static_cast<size_t>(h.headerSize) + 4u * static_cast<size_t>(count);
    if (pixelOffset > size) {
        return false;
    }
    layout->header = h;
    layout->colorCount = count;
    layout->pixelOffset = pixelOffset;
    layout->pixelSize = size - pixelOffset;
    return true;
}

RgbColor PackedDibColor(const uint8_t* data, const PackedDibLayout& layout, uint32_t i) {
    const uint8_t* entry = data + layout.header.headerSize + 4u * static_cast<size_t>(i);
    RgbColor c;
    c.blue = entry[0];
    c.green = entry[1];
    c.red = entry[2];
    return c;
}

std::vector<uint8_t> BuildPackedDib(DibHeader header, const std::vector<RgbColor>& colors,
                                    const std::vector<uint8_t>& pixels) {
    header.headerSize = kInfoHeaderSize;
    header.imageSize = static_cast<uint32_t>(pixels.size());
    if (header.colorsUsed == 0) {
        header.colorsUsed = static_cast<uint32_t>(colors.size());
    }
    std::vector<uint8_t> out;
    out.reserve(kInfoHeaderSize + 4 * colors.size() + pixels.size());
    Put32(out, header.headerSize);
    Put32(out, static_cast<uint32_t>(header.width));
    Put32(out, static_cast<uint32_t>(header.height));
    Put16(out, header.planes);
    Put16(out, header.bitCount);
    Put32(out, header.compression);
    Put32(out, header.imageSize);
    Put32(out, static_cast<uint32_t>(header.xPelsPerMeter));
    Put32(out, static_cast<uint32_t>(header.yPelsPerMeter));
    Put32(out, header.colorsUsed);
    Put32(out, header.colorsImportant);
    for (const RgbColor& c : colors) {
        out.push_back(c.blue);
        out.push_back(c.green);
        out.push_back(c.red);
        out.push_back(0);
    }
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

std::vector<uint8_t> WithBmpFileHeader(const std::vector<uint8_t>& packed, const PackedDibLayout& layout) {
    std::vector<uint8_t> out;
    out.reserve(kBmpFileHeaderSize + packed.size());
    out.push_back('B');
    out.push_back('M');
    Put32(out, static_cast<uint32_t>(kBmpFileHeaderSize + packed.size()));
    Put32(out, 0);  // two reserved 16-bit words
    Put32(out, static_cast<uint32_t>(kBmpFileHeaderSize + layout.pixelOffset));
    out.insert(out.end(), packed.begin(), packed.end());
    return out;
}

bool DecodePackedRle8(const uint8_t* data, size_t size, IndexedImage* image) {
    PackedDibLayout layout;
    if (!ParsePackedDib(data, size, &layout)) {
        return false;
    }
    const DibHeader& h = layout.header;
    // Top-down RLE bitmaps do not exist; the size limit keeps width * height
    // far from overflow.
    constexpr int32_t kMaxSide = 1 << 15;
    if (h.bitCount != 8 || h.compression != kCompressionRle8 || h.planes != 1 || h.width <= 0 || h.height <= 0 ||
        h.width > kMaxSide || h.height > kMaxSide) {
        return false;
    }
    size_t pixelSize = layout.pixelSize;
    if (h.imageSize != 0) {
        if (h.imageSize > pixelSize) {
            return false;
        }
        pixelSize = h.imageSize;
    }
    return DecodeRle8(data + layout.pixelOffset, pixelSize, h.width, h.height, image);
}
