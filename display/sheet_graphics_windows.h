// Turns the packed 8-bit sprite sheet into the palette and device bitmap
// that the painter copies from.
#pragma once

#include <windows.h>

#include <cstdint>

// Checks the bit depth, makes `palette` from the colour table and returns
// the device bitmap, or null (after a message box for a sheet that is not
// 8-bit or a palette that cannot be made; `palette` stays null then). The
// message boxes are owned by `window`, and the bitmap is made for its device
// context; a null window means no owner and the screen's device context.
HBITMAP BuildSheetGraphics(HWND window, const uint8_t* packedSheet, HPALETTE& palette);
