#include "host/sheet_graphics_windows.h"

#include <cstddef>
#include <vector>

#include "display/packed_dib.h"
#include "host/string_message_windows.h"
#include "resources/resource_ids.h"

namespace {

constexpr WORD kPaletteVersion = 0x300;

}  // namespace

// The palette record is a header and n entries in one moveable block, as
// CreatePalette wants it; the block lives only while the palette is made.
HPALETTE CreatePaletteOf(const std::vector<RGBQUAD>& colours) {
    const size_t entriesOffset = offsetof(LOGPALETTE, palPalEntry);
    HLOCAL block = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, entriesOffset + colours.size() * sizeof(PALETTEENTRY));
    if (block == nullptr) {
        return nullptr;
    }
    HPALETTE palette = nullptr;
    auto* record = static_cast<BYTE*>(LocalLock(block));
    if (record != nullptr) {
        auto* logPalette = reinterpret_cast<LOGPALETTE*>(record);
        logPalette->palVersion = kPaletteVersion;
        logPalette->palNumEntries = static_cast<WORD>(colours.size());
        auto* entries = reinterpret_cast<PALETTEENTRY*>(record + entriesOffset);
        for (size_t i = 0; i < colours.size(); ++i) {
            // Flags stay 0.
            entries[i].peRed = colours[i].rgbRed;
            entries[i].peGreen = colours[i].rgbGreen;
            entries[i].peBlue = colours[i].rgbBlue;
        }
        palette = CreatePalette(logPalette);
        LocalUnlock(block);
    }
    LocalFree(block);
    return palette;
}

SheetGraphics BuildSheetGraphics(HWND window, const uint8_t* packedSheet, size_t size) {
    SheetGraphics sheet;
    PackedDibLayout layout;
    if (!ParsePackedDib(packedSheet, size, &layout) || layout.header.bitCount != 8) {
        ShowStringMessage(window, IDS_SHEET_NOT_256_COLOR, IDS_SHEET_ERROR_CAPTION, MB_OK | MB_ICONERROR);
        return sheet;
    }
    // The table is stored blue, green, red, reserved, as RGBQUADs are.
    const auto* table = reinterpret_cast<const RGBQUAD*>(packedSheet + layout.header.headerSize);
    const std::vector<RGBQUAD> colours(table, table + layout.colorCount);
    sheet.palette = CreatePaletteOf(colours);
    if (sheet.palette == nullptr) {
        ShowStringMessage(window, IDS_PALETTE_FAILED, IDS_PALETTE_FAILED_CAPTION, MB_OK | MB_ICONWARNING);
        return sheet;
    }
    sheet.colours = colours;
    if (!DecodePackedRle8(packedSheet, size, &sheet.sprites)) {
        sheet.sprites = IndexedImage();
    }
    return sheet;
}

void ReleaseSheetGraphics(SheetGraphics& sheet) {
    if (sheet.palette != nullptr) {
        DeleteObject(sheet.palette);
    }
    sheet = SheetGraphics();
}
