// sheet_generator <life9.dib> <life9.bmp> <sheet.png>
//
// Draws the sprite sheet and writes it three ways: the packed bitmap the
// program embeds, the same behind a BMP file header (what resource
// compilers read for a BITMAP resource) and a PNG to look at.
#include <cstdio>
#include <vector>

#include "display/packed_dib.h"
#include "display/sheet_geometry.h"
#include "render/indexed_png.h"
#include "sheet/sheet_art.h"
#include "sheet/sheet_palette.h"

namespace {

bool WriteFile(const char* path, const std::vector<uint8_t>& bytes) {
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

bool WritePng(const char* path, const IndexedImage& image, const std::vector<RgbColor>& palette) {
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = WriteIndexedPng(file, image, palette);
    return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <life9.dib> <life9.bmp> <sheet.png>\n", argv[0]);
        return 2;
    }
    std::vector<uint8_t> packed = BuildSheetDib();
    PackedDibLayout layout;
    IndexedImage sheet;
    // Check our own output with our own decoder before anything is written.
    if (!ParsePackedDib(packed.data(), packed.size(), &layout) ||
        !DecodePackedRle8(packed.data(), packed.size(), &sheet) || sheet.pixels != DrawSheet().pixels) {
        std::fprintf(stderr, "sheet_generator: the encoded sheet does not decode to the drawing\n");
        return 1;
    }
    if (!WriteFile(argv[1], packed) || !WriteFile(argv[2], WithBmpFileHeader(packed, layout)) ||
        !WritePng(argv[3], sheet, SheetPalette())) {
        std::fprintf(stderr, "sheet_generator: cannot write the output files\n");
        return 1;
    }
    std::printf("sprite sheet: %dx%d, %zu bytes packed (%zu of RLE8 pixel data)\n", sheet.width, sheet.height,
                packed.size(), layout.pixelSize);
    return 0;
}
