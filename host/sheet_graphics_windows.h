// Turns the packed 8-bit sprite sheet into what the painter copies from: the
// sheet's pixels as colour indices, its colour table (the back buffer's
// colours) and a palette made from that table, which 256-colour display
// modes need realised on the window.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "display/indexed_image.h"

struct SheetGraphics {
    HPALETTE palette = nullptr;
    IndexedImage sprites;          // 0 x 0 when there is nothing to copy
    std::vector<RGBQUAD> colours;  // the sheet's colour table, as stored

    // What copies come from: null when there are no sprites.
    const IndexedImage* source() const { return sprites.width > 0 ? &sprites : nullptr; }
};

// Checks the bit depth, makes the palette and decodes the pixels. A sheet
// that is not 8-bit gives a message box and nothing else; a palette that
// cannot be made gives a warning and nothing else. The boxes are owned by
// `window` (null: no owner, as while the saver window is being created).
SheetGraphics BuildSheetGraphics(HWND window, const uint8_t* packedSheet, size_t size);

// A palette of the given colours (at most 256), or null.
HPALETTE CreatePaletteOf(const std::vector<RGBQUAD>& colours);

// Deletes the palette and forgets the rest; harmless when empty.
void ReleaseSheetGraphics(SheetGraphics& sheet);
