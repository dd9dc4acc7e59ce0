// The painter's target in the saver: the window's device context of the
// current tick, with copies from the sheet bitmap.
#pragma once

#include <windows.h>

#include "display/paint_target.h"

// A window's client size (its client rectangle starts at 0, 0); 0 x 0 if it
// cannot be read.
ClientSize ClientSizeOf(HWND window);

// The answer to WM_ERASEBKGND: the whole client area black on the given DC.
void FillClientBlack(HWND window, HDC dc);

class GdiPaintTarget final : public PaintTarget {
public:
    // Brackets one tick's drawing on the window's paintDC. The sheet bitmap
    // is selected into one memory DC for the whole tick: under Wine, making
    // a memory DC and selecting a bitmap into it costs some fifty times a
    // cell-sized BitBlt, so a DC per copy would cost more than the shortest
    // tick delay at full screen. When the selection fails (no sheet bitmap,
    // or no memory DC) the tick's copies are skipped and its fills still
    // made.
    void beginTick(HWND window, HDC paintDC, HBITMAP sheetBitmap);
    void endTick();

    void copy(int srcX, int srcY, int dstX, int dstY, int width, int height) override;
    void fillBlack(const PaintRect& rect) override;
    // The client area of the window the current tick draws into.
    ClientSize clientSize() override;

private:
    HWND window_ = nullptr;
    HDC paintDC_ = nullptr;
    HDC sheetDC_ = nullptr;
    HGDIOBJ previousBitmap_ = nullptr;
};
