#include "host/back_buffer_windows.h"

#include <cstdint>

namespace {

// A message number nothing sends to the saver's threads, so that looking
// for it finds the queue empty.
constexpr UINT kNeverSent = WM_APP + 0x3FFF;

}  // namespace

void HandDrawingToScreen() {
    MSG message;
    PeekMessageA(&message, nullptr, kNeverSent, kNeverSent, PM_NOREMOVE);
}

bool BackBuffer::create(ClientSize client, const SheetGraphics& sheet, int scale, const BackBuffer* sharing) {
    // Taken before destroy(), which lets this buffer's own go.
    std::shared_ptr<const ColourImage> shared;
    if (sharing) {
        shared = sharing->sprites_;
    }
    destroy();
    if (client.width <= 0 || client.height <= 0) {
        return false;
    }
    // Beyond 2 GB a picture's size no longer fits the header's 32-bit image
    // size, nor the pixel counts of the changed area on 64-bit Windows
    // (whose long is 32 bits); some GDIs still make it, and then fail later.
    if (static_cast<int64_t>(client.width) * client.height > INT32_MAX / 4) {
        return false;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = client.width;
    info.bmiHeader.biHeight = -client.height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    dc_ = bitmap_ ? CreateCompatibleDC(nullptr) : nullptr;
    previous_ = dc_ ? SelectObject(dc_, bitmap_) : nullptr;
    if (!bits || !previous_) {
        destroy();
        return false;
    }
    // A DIB section starts zeroed: black.
    picture_ = {static_cast<uint32_t*>(bits), client.width, client.height};
    spriteScale_ = scale;
    if (shared) {
        sprites_ = std::move(shared);
    } else if (const IndexedImage* source = sheet.source()) {
        ColourTable colours;
        for (const RGBQUAD& c : sheet.colours) {
            colours.push_back((uint32_t{c.rgbRed} << 16) | (uint32_t{c.rgbGreen} << 8) | c.rgbBlue);
        }
        sprites_ = std::make_shared<const ColourImage>(InColours(*source, colours));
    }
    return true;
}

void BackBuffer::destroy() {
    if (previous_) {
        SelectObject(dc_, previous_);
        previous_ = nullptr;
    }
    if (dc_) {
        DeleteDC(dc_);
        dc_ = nullptr;
    }
    if (bitmap_) {
        DeleteObject(bitmap_);
        bitmap_ = nullptr;
    }
    picture_ = ColourView();
    sprites_.reset();
    spriteScale_ = 1;
}

void BackBuffer::show(HDC dc, const ChangedArea& changed, long callCost) {
    if (!picture_.pixels) {
        return;
    }
    for (const PaintRect& r : changed.merged(callCost)) {
        copyTo(dc, r);
    }
    // GDI may batch the copies; they must have read the section before the
    // lock is let go and the next tick changes it.
    GdiFlush();
}

void BackBuffer::repaint(HDC dc, const PaintRect& rect) const {
    if (dc_) {
        copyTo(dc, rect);
        GdiFlush();
    }
}

void BackBuffer::copyTo(HDC dc, const PaintRect& rect) const {
    BitBlt(dc, origin_.x + rect.left, origin_.y + rect.top, rect.right - rect.left, rect.bottom - rect.top, dc_,
           rect.left, rect.top, SRCCOPY);
}
