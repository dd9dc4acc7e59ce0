#include "display/gdi_paint_target_windows.h"

void GdiPaintTarget::beginTick(HWND window, HDC paintDC, HBITMAP sheetBitmap) {
    window_ = window;
    paintDC_ = paintDC;
    sheetDC_ = CreateCompatibleDC(paintDC);
    previousBitmap_ = sheetDC_ ? SelectObject(sheetDC_, sheetBitmap) : nullptr;
}

void GdiPaintTarget::endTick() {
    if (previousBitmap_) {
        SelectObject(sheetDC_, previousBitmap_);
        previousBitmap_ = nullptr;
    }
    if (sheetDC_) {
        DeleteDC(sheetDC_);
        sheetDC_ = nullptr;
    }
    paintDC_ = nullptr;
}

void GdiPaintTarget::copy(int srcX, int srcY, int dstX, int dstY, int width, int height) {
    if (previousBitmap_) {
        BitBlt(paintDC_, dstX, dstY, width, height, sheetDC_, srcX, srcY, SRCCOPY);
    }
}

void GdiPaintTarget::fillBlack(const PaintRect& rect) {
    const RECT area{rect.left, rect.top, rect.right, rect.bottom};
    FillRect(paintDC_, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

ClientSize GdiPaintTarget::clientSize() { return ClientSizeOf(window_); }

ClientSize ClientSizeOf(HWND window) {
    RECT client{};
    if (!GetClientRect(window, &client)) {
        return {0, 0};
    }
    return {client.right, client.bottom};
}

void FillClientBlack(HWND window, HDC dc) {
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}
