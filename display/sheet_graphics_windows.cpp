#include "display/sheet_graphics_windows.h"

#include <cstddef>
#include <cstring>

#include "display/packed_dib.h"
#include "resources/resource_ids.h"
#include "settings/config_dialog_windows.h"
#include "settings/dialog_text_windows.h"

namespace {

constexpr WORD kPaletteVersion = 0x300;

// The palette record is a header and n entries in one moveable block, as
// CreatePalette wants it; the block lives only while the palette is made.
HPALETTE CreateSheetPalette(const uint8_t* packedSheet, DWORD headerSize, DWORD colors) {
    size_t entriesOffset = offsetof(LOGPALETTE, palPalEntry);
    HLOCAL block = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, entriesOffset + colors * sizeof(PALETTEENTRY));
    if (block == nullptr) {
        return nullptr;
    }
    HPALETTE palette = nullptr;
    auto* record = static_cast<BYTE*>(LocalLock(block));
    if (record != nullptr) {
        auto* logPalette = reinterpret_cast<LOGPALETTE*>(record);
        logPalette->palVersion = kPaletteVersion;
        logPalette->palNumEntries = static_cast<WORD>(colors);
        auto* entries = reinterpret_cast<PALETTEENTRY*>(record + entriesOffset);
        const uint8_t* table = packedSheet + headerSize;
        for (DWORD i = 0; i < colors; ++i) {
            // The table is stored blue, green, red, reserved; flags stay 0.
            entries[i].peRed = table[4 * i + 2];
            entries[i].peGreen = table[4 * i + 1];
            entries[i].peBlue = table[4 * i];
        }
        palette = CreatePalette(logPalette);
        LocalUnlock(block);
    }
    LocalFree(block);
    return palette;
}

}  // namespace

SheetGraphics BuildSheetGraphics(HWND window, const uint8_t* packedSheet, size_t size) {
    SheetGraphics sheet;
    PackedDibLayout layout;
    if (!ParsePackedDib(packedSheet, size, &layout) || layout.header.bitCount != 8) {
        ShowStringMessage(ConfigDialogWindows95Family(), window, IDS_SHEET_NOT_256_COLOR, IDS_SHEET_ERROR_CAPTION,
                          MB_OK | MB_ICONERROR);
        return sheet;
    }
    const uint32_t headerSize = layout.header.headerSize;
    sheet.palette = CreateSheetPalette(packedSheet, headerSize, layout.colorCount);
    if (sheet.palette == nullptr) {
        ShowStringMessage(ConfigDialogWindows95Family(), window, IDS_PALETTE_FAILED, IDS_PALETTE_FAILED_CAPTION,
                          MB_OK | MB_ICONWARNING);
        return sheet;
    }
    const auto* table = reinterpret_cast<const RGBQUAD*>(packedSheet + headerSize);
    sheet.colours.assign(table, table + layout.colorCount);
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
