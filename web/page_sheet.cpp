#include "web/page_sheet.h"

#include "display/sheet_geometry.h"
#include "sheet/sheet_art.h"
#include "sheet/sheet_palette.h"

namespace {

constexpr CellSize kSizes[] = {CellSize::Small, CellSize::Middle, CellSize::Big};

struct Sheet {
    IndexedImage drawn{kSheetWidth, kSheetHeight};
    bool sizeDrawn[3] = {false, false, false};
};

}  // namespace

const IndexedImage& PageSheet(CellSize size) {
    static Sheet sheet;
    for (const CellSize each : kSizes) {
        const int index = static_cast<int>(each);
        if ((size == each || size == CellSize::Random) && !sheet.sizeDrawn[index]) {
            DrawSheetGroup(sheet.drawn, each);
            sheet.sizeDrawn[index] = true;
        }
    }
    return sheet.drawn;
}

const RgbaPalette& PageSheetPalette() {
    static const RgbaPalette palette = [] {
        RgbaPalette rgba{};
        const std::vector<RgbColor> colours = SheetPalette();
        for (size_t i = 0; i < colours.size() && i < rgba.size(); ++i) {
            rgba[i] = 0xFF000000u | static_cast<uint32_t>(colours[i].blue) << 16 |
                      static_cast<uint32_t>(colours[i].green) << 8 | colours[i].red;
        }
        return rgba;
    }();
    return palette;
}

uint32_t PageSheetDigest() {
    uint32_t hash = 2166136261u;
    for (const uint8_t index : PageSheet(CellSize::Random).pixels) {
        const uint32_t rgba = PageSheetPalette()[index];
        for (int shift = 0; shift < 24; shift += 8) {
            hash = (hash ^ ((rgba >> shift) & 0xFF)) * 16777619u;
        }
    }
    return hash;
}
