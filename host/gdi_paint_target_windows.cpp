#include "host/gdi_paint_target_windows.h"

void GdiPaintTarget::beginTick(HWND window, HDC paintDC, BackBuffer& buffer, const IndexedImage* sheet) {
    window_ = window;
    paintDC_ = paintDC;
    buffer_ = &buffer;
    frame_.emplace(buffer.frame(), sheet);
    changed_.reset(frame_->clientSize());
}

void GdiPaintTarget::endTick() {
    if (!changed_.empty()) {
        buffer_->show(paintDC_, changed_, kCallCost);
    }
    frame_.reset();
    buffer_ = nullptr;
    paintDC_ = nullptr;
}

void GdiPaintTarget::copy(int srcX, int srcY, int dstX, int dstY, int width, int height) {
    frame_->copy(srcX, srcY, dstX, dstY, width, height);
    changed_.add({dstX, dstY, dstX + width, dstY + height});
}

void GdiPaintTarget::fillBlack(const PaintRect& rect) {
    frame_->fillBlack(rect);
    changed_.add(rect);
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
