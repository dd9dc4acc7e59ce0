#include "web/page_sheet.h"

#include "display/display_scale.h"
#include "display/sheet_geometry.h"
#include "sheet/sheet_art.h"
#include "sheet/sheet_palette.h"

namespace {

constexpr CellSize kSizes[] = {CellSize::Small, CellSize::Middle, CellSize::Big};

struct Sheets {
    IndexedImage drawn{kSheetWidth, kSheetHeight};
    bool sizeDrawn[3] = {false, false, false};
    IndexedImage enlarged;
    int enlargedScale = 0;  // 0: none, or out of date
};

Sheets& TheSheets() {
    static Sheets sheets;
    return sheets;
}

// The drawn sheet with the sprites of size (all for Random).
const IndexedImage& DrawnSheet(CellSize size) {
    Sheets& sheets = TheSheets();
    for (const CellSize each : kSizes) {
        const int index = static_cast<int>(each);
        if ((size == each || size == CellSize::Random) && !sheets.sizeDrawn[index]) {
            DrawSheetGroup(sheets.drawn, each);
            sheets.sizeDrawn[index] = true;
            sheets.enlargedScale = 0;
        }
    }
    return sheets.drawn;
}

}  // namespace

const IndexedImage& PageSheet(int scale, CellSize size) {
    const IndexedImage& drawn = DrawnSheet(size);
    Sheets& sheets = TheSheets();
    if (scale <= 1) {
        return drawn;
    }
    if (scale != sheets.enlargedScale) {
        sheets.enlarged = IndexedImage();  // freed first: both at once may not fit
        sheets.enlarged = EnlargedImage(drawn, scale);
        sheets.enlargedScale = scale;
    }
    return sheets.enlarged;
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
    for (const uint8_t index : DrawnSheet(CellSize::Random).pixels) {
        const uint32_t rgba = PageSheetPalette()[index];
        for (int shift = 0; shift < 24; shift += 8) {
            hash = (hash ^ ((rgba >> shift) & 0xFF)) * 16777619u;
        }
    }
    return hash;
}
