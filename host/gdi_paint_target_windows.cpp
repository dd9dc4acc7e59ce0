#include "host/gdi_paint_target_windows.h"

void GdiPaintTarget::beginTick(HDC paintDC, BackBuffer& buffer) {
    paintDC_ = paintDC;
    buffer_ = &buffer;
    picture_.emplace(buffer.picture(), buffer.sprites(), buffer.spriteScale());
}

bool GdiPaintTarget::endTick() {
    const bool changed = !picture_->changed().empty();
    if (changed) {
        buffer_->show(paintDC_, picture_->changed(), kShowCallCost);
    }
    picture_.reset();
    buffer_ = nullptr;
    paintDC_ = nullptr;
    return changed;
}

void GdiPaintTarget::copy(int srcX, int srcY, int dstX, int dstY, int width, int height) {
    picture_->copy(srcX, srcY, dstX, dstY, width, height);
}

void GdiPaintTarget::fillBlack(const PaintRect& rect) { picture_->fillBlack(rect); }

ClientSize GdiPaintTarget::clientSize() { return buffer_->size(); }

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
