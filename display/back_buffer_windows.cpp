#include "display/back_buffer_windows.h"

#include <algorithm>
#include <cstddef>

BackBuffer::BackBuffer() { InitializeCriticalSection(&guard_); }

BackBuffer::~BackBuffer() {
    destroy();
    DeleteCriticalSection(&guard_);
}

bool BackBuffer::create(ClientSize client, const std::vector<RGBQUAD>& colours) {
    destroy();
    if (client.width <= 0 || client.height <= 0) {
        return false;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = client.width;
    info.bmiHeader.biHeight = -client.height;  // top row first, as the frame
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
    // A DIB section starts zeroed, black, as the frame does.
    shown_ = static_cast<uint32_t*>(bits);
    frame_ = IndexedImage(client.width, client.height);
    const size_t count = std::min<size_t>(colours.size(), 256);
    for (size_t i = 0; i < count; ++i) {
        const RGBQUAD& c = colours[i];
        screenColours_[i] = (uint32_t{c.rgbRed} << 16) | (uint32_t{c.rgbGreen} << 8) | c.rgbBlue;
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
    shown_ = nullptr;
    frame_ = IndexedImage();
    std::fill(std::begin(screenColours_), std::end(screenColours_), 0u);
}

void BackBuffer::show(HDC dc, const std::vector<PaintRect>& rects) {
    if (!shown_) {
        return;
    }
    for (const PaintRect& r : rects) {
        for (int y = r.top; y < r.bottom; ++y) {
            const size_t row = static_cast<size_t>(y) * static_cast<size_t>(frame_.width);
            const uint8_t* from = frame_.pixels.data() + row;
            uint32_t* to = shown_ + row;
            for (int x = r.left; x < r.right; ++x) {
                to[x] = screenColours_[from[x]];
            }
        }
    }
    for (const PaintRect& r : rects) {
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
    BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, dc_, rect.left, rect.top,
           SRCCOPY);
}
