#include "web/page_sheet.h"

#include "display/display_scale.h"
#include "sheet_art.h"
#include "sheet_palette.h"

namespace {

const IndexedImage& DrawnSheet() {
    static const IndexedImage sheet = DrawSheet();
    return sheet;
}

}  // namespace

const IndexedImage& PageSheet(int scale) {
    static IndexedImage enlarged;
    static int enlargedScale = 0;
    if (scale <= 1) {
        return DrawnSheet();
    }
    if (scale != enlargedScale) {
        enlarged = IndexedImage();  // freed first: both at once may not fit
        enlarged = EnlargedImage(DrawnSheet(), scale);
        enlargedScale = scale;
    }
    return enlarged;
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
    for (const uint8_t index : DrawnSheet().pixels) {
        const uint32_t rgba = PageSheetPalette()[index];
        for (int shift = 0; shift < 24; shift += 8) {
            hash = (hash ^ ((rgba >> shift) & 0xFF)) * 16777619u;
        }
    }
    return hash;
}
