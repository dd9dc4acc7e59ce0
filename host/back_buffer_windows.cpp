#include "host/back_buffer_windows.h"

#include <algorithm>
#include <cstddef>

namespace {

// A message number nothing sends to the saver's threads, so that looking
// for it finds the queue empty.
constexpr UINT kNeverSent = WM_APP + 0x3FFF;

}  // namespace

void HandDrawingToScreen() {
    MSG message;
    PeekMessageA(&message, nullptr, kNeverSent, kNeverSent, PM_NOREMOVE);
}

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

void BackBuffer::show(HDC dc, const ChangedArea& changed, long callCost) {
    if (!shown_) {
        return;
    }
    // The colours are converted where the tick drew, or in the merged
    // rectangles when those hold fewer pixels (a cell drawn twice, as
    // erased and then grown, counts twice among the changes).
    const std::vector<PaintRect> rects = changed.merged(callCost);
    const std::vector<PaintRect>& changes = changed.changes();
    convert(PixelsIn(changes) < PixelsIn(rects) ? changes : rects);
    for (const PaintRect& r : rects) {
        copyTo(dc, r);
    }
    // GDI may batch the copies; they must have read the section before the
    // lock is let go and the next tick changes it.
    GdiFlush();
    HandDrawingToScreen();
}

void BackBuffer::convert(const std::vector<PaintRect>& rects) {
    const uint32_t* colours = screenColours_;
    for (const PaintRect& r : rects) {
        for (int y = r.top; y < r.bottom; ++y) {
            const size_t row = static_cast<size_t>(y) * static_cast<size_t>(frame_.width);
            const uint8_t* __restrict from = frame_.pixels.data() + row;
            uint32_t* __restrict to = shown_ + row;
            int x = r.left;
            // Four at a time: the lookups are independent.
            for (; x + 4 <= r.right; x += 4) {
                const uint32_t a = colours[from[x]];
                const uint32_t b = colours[from[x + 1]];
                const uint32_t c = colours[from[x + 2]];
                const uint32_t d = colours[from[x + 3]];
                to[x] = a;
                to[x + 1] = b;
                to[x + 2] = c;
                to[x + 3] = d;
            }
            for (; x < r.right; ++x) {
                to[x] = colours[from[x]];
            }
        }
    }
}

void BackBuffer::repaint(HDC dc, const PaintRect& rect) const {
    if (dc_) {
        copyTo(dc, rect);
        GdiFlush();
    }
}

void BackBuffer::copyTo(HDC dc, const PaintRect& rect) const {
    BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, dc_, rect.left, rect.top, SRCCOPY);
}
