// The sprite sheet of the page, drawn in WebAssembly by the sheet
// generator's own code rather than shipped: the drawing is a few kilobytes
// of code where the picture is 380 KB (177 KB gzip-compressed), and the
// generator's maths is exact IEEE arithmetic, so it comes out byte for
// byte as the native build draws it.
#pragma once

#include <cstdint>

#include "display/indexed_image.h"
#include "settings/settings.h"
#include "web/canvas_frame.h"

// The sheet with at least the sprites of cells of this size (every size
// for Random, which a world may draw at any renewal). Each size is drawn
// when first asked for: the default size is a fifth of the drawing. It is
// never enlarged: the frame enlarges sprites as it copies them.
const IndexedImage& PageSheet(CellSize size);

// The sheet's colours as the canvas takes them.
const RgbaPalette& PageSheetPalette();

// FNV-1a over the whole sheet's pixels as R, G, B bytes, top row first:
// what a test compares with the native build's sheet.png.
uint32_t PageSheetDigest();
