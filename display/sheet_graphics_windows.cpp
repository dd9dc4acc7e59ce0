#include "display/sheet_graphics_windows.h"

#include <cstddef>
#include <cstring>

namespace {

constexpr WORD kPaletteVersion = 0x300;
constexpr DWORD kMaxColors = 256;

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

HBITMAP BuildSheetGraphics(HWND window, const uint8_t* packedSheet, HPALETTE& palette) {
    BITMAPINFOHEADER header;
    std::memcpy(&header, packedSheet, sizeof header);
    if (header.biBitCount != 8) {
        MessageBoxA(window, "Not 256 color.", "Error", MB_OK | MB_ICONERROR);
        return nullptr;
    }
    // A colours-used field of 0 means a full table, as everywhere in the
    // bitmap format; an 8-bit table never holds more than 256 entries.
    DWORD colors = header.biClrUsed == 0 || header.biClrUsed > kMaxColors ? kMaxColors : header.biClrUsed;

    palette = CreateSheetPalette(packedSheet, header.biSize, colors);
    if (palette == nullptr) {
        // UTF-16 so that the Japanese text reads right under any code page.
        MessageBoxW(window, L"CreatePalette\u306b\u5931\u6557", L"PAL2", MB_OK | MB_ICONWARNING);
        return nullptr;
    }

    HDC dc = GetDC(window);
    if (dc == nullptr) {
        return nullptr;
    }
    HPALETTE previous = SelectPalette(dc, palette, FALSE);
    RealizePalette(dc);
    const uint8_t* bits = packedSheet + header.biSize + 4 * colors;
    HBITMAP bitmap = CreateDIBitmap(dc, reinterpret_cast<const BITMAPINFOHEADER*>(packedSheet), CBM_INIT, bits,
                                    reinterpret_cast<const BITMAPINFO*>(packedSheet), DIB_RGB_COLORS);
    if (previous != nullptr) {
        SelectPalette(dc, previous, FALSE);
    }
    ReleaseDC(window, dc);
    return bitmap;
}
