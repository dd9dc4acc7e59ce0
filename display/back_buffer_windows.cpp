#include "display/back_buffer_windows.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr size_t kMaxColours = 256;

// BITMAPINFO with room for a full colour table.
struct BufferInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[kMaxColours];
};

}  // namespace

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
    BufferInfo info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = client.width;
    info.header.biHeight = -client.height;  // top row first, as the painter counts rows
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    info.header.biCompression = BI_RGB;
    const size_t count = std::min(colours.size(), kMaxColours);
    info.header.biClrUsed = count == 0 ? 1 : static_cast<DWORD>(count);  // one black entry without a sheet
    std::copy(colours.begin(), colours.begin() + static_cast<std::ptrdiff_t>(count), info.colours);

    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    dc_ = bitmap_ ? CreateCompatibleDC(nullptr) : nullptr;
    previous_ = dc_ ? SelectObject(dc_, bitmap_) : nullptr;
    if (!bits || !previous_) {
        destroy();
        return false;
    }
    // A DIB section starts zeroed: colour 0, black, everywhere.
    const size_t stride = (static_cast<size_t>(client.width) + 3) & ~size_t{3};
    rows_ = {static_cast<uint8_t*>(bits), client.width, client.height, stride};
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
    rows_ = IndexedRows();
}

void BackBuffer::show(HDC dc, const std::vector<PaintRect>& rects) const {
    if (!dc_) {
        return;
    }
    for (const PaintRect& rect : rects) {
        BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, dc_, rect.left, rect.top,
               SRCCOPY);
    }
    GdiFlush();
}
