// Turns the packed 8-bit sprite sheet into the palette and device bitmap
// that the painter copies from.
#pragma once

#include <windows.h>

#include <cstdint>

// Checks the bit depth, makes displayState.sheetPalette from the colour
// table and returns the device bitmap, or null (after a message box for a
// sheet that is not 8-bit or a palette that cannot be made).
HBITMAP BuildSheetGraphics(const uint8_t* packedSheet);
