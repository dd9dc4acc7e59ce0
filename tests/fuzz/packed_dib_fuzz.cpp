// Packed bitmaps as a sheet resource would hold them, over any bytes (given
// as an exactly-sized block). A parsed layout stays inside the block and
// every colour-table entry can be read; a decoded RLE8 bitmap has the
// header's size, and rebuilt from its header, colours and re-encoded pixels
// it decodes to the same picture (up to a million pixels).
#include <vector>

#include "display/packed_dib.h"
#include "display/rle8.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto exact = ExactCopy(data, size);
    PackedDibLayout layout;
    if (!ParsePackedDib(exact.get(), size, &layout))
        return 0;
    const DibHeader& header = layout.header;
    FUZZ_CHECK(header.headerSize >= kInfoHeaderSize);
    FUZZ_CHECK(layout.pixelOffset == header.headerSize + 4u * static_cast<size_t>(layout.colorCount));
    FUZZ_CHECK(layout.pixelOffset <= size && layout.pixelOffset + layout.pixelSize == size);
    FUZZ_CHECK(layout.colorCount <= 256u || header.bitCount > 8);
    std::vector<RgbColor> colors;
    for (uint32_t i = 0; i < layout.colorCount; ++i)
        colors.push_back(PackedDibColor(exact.get(), layout, i));

    IndexedImage image;
    if (!DecodePackedRle8(exact.get(), size, &image))
        return 0;
    FUZZ_CHECK(header.bitCount == 8 && header.compression == kCompressionRle8);
    FUZZ_CHECK(image.width == header.width && image.height == header.height);
    FUZZ_CHECK(image.pixels.size() == static_cast<size_t>(image.width) * static_cast<size_t>(image.height));

    // A few header bytes may ask for a picture of up to 2^30 pixels, which the
    // decoder then makes; re-encoding one that large would only slow the run.
    if (image.pixels.size() > (1u << 20))
        return 0;
    DibHeader rebuiltHeader = header;
    rebuiltHeader.colorsUsed = layout.colorCount;
    const std::vector<uint8_t> rebuilt = BuildPackedDib(rebuiltHeader, colors, EncodeRle8(image));
    IndexedImage back;
    FUZZ_CHECK(DecodePackedRle8(rebuilt.data(), rebuilt.size(), &back));
    FUZZ_CHECK(back.pixels == image.pixels);
    return 0;
}
