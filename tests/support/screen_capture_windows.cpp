#include "screen_capture_windows.h"

#include <cstdio>

BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

namespace {

// The fourth byte of a 32-bit DIB pixel is undefined; drop it.
CapturedPixels FromBits(const uint32_t* bits, int width, int height) {
    CapturedPixels capture;
    capture.width = width;
    capture.height = height;
    capture.pixels.assign(bits, bits + static_cast<size_t>(width) * height);
    for (uint32_t& pixel : capture.pixels)
        pixel &= 0x00FFFFFFu;
    return capture;
}

}  // namespace

size_t CapturedPixels::countNonBlack(const RECT& area) const {
    size_t count = 0;
    for (int y = area.top < 0 ? 0 : area.top; y < area.bottom && y < height; ++y) {
        for (int x = area.left < 0 ? 0 : area.left; x < area.right && x < width; ++x) {
            if (at(x, y) != 0)
                ++count;
        }
    }
    return count;
}

CapturedPixels CaptureRect(HDC source, int left, int top, int width, int height) {
    CapturedPixels capture;
    if (!source || width <= 0 || height <= 0)
        return capture;
    BITMAPINFO info = TopDown32(width, height);
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(source);
    if (section && bits && memory) {
        HGDIOBJ previous = SelectObject(memory, section);
        if (BitBlt(memory, 0, 0, width, height, source, left, top, SRCCOPY)) {
            GdiFlush();
            capture = FromBits(static_cast<const uint32_t*>(bits), width, height);
        }
        SelectObject(memory, previous);
    }
    if (memory)
        DeleteDC(memory);
    if (section)
        DeleteObject(section);
    return capture;
}

CapturedPixels CaptureScreen() {
    HDC screen = GetDC(nullptr);
    CapturedPixels capture = CaptureRect(screen, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    ReleaseDC(nullptr, screen);
    return capture;
}

CapturedPixels CaptureClient(HWND window, int width, int height) {
    HDC windowDC = GetDC(window);
    CapturedPixels capture = CaptureRect(windowDC, 0, 0, width, height);
    ReleaseDC(window, windowDC);
    return capture;
}

CapturedPixels CaptureBitmap(HBITMAP bitmap) {
    BITMAP shape{};
    if (GetObjectW(bitmap, sizeof shape, &shape) == 0 || shape.bmWidth <= 0 || shape.bmHeight <= 0)
        return {};
    BITMAPINFO info = TopDown32(shape.bmWidth, shape.bmHeight);
    std::vector<uint32_t> bits(static_cast<size_t>(shape.bmWidth) * shape.bmHeight);
    HDC screen = GetDC(nullptr);
    const int lines = GetDIBits(screen, bitmap, 0, shape.bmHeight, bits.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (lines != shape.bmHeight)
        return {};
    return FromBits(bits.data(), shape.bmWidth, shape.bmHeight);
}

bool SaveBmp(const CapturedPixels& capture, const std::wstring& path) {
    if (capture.pixels.empty())
        return false;
    // Bottom-up rows of blue, green, red, each padded to 4 bytes.
    const size_t stride = (static_cast<size_t>(capture.width) * 3 + 3) & ~size_t{3};
    std::vector<uint8_t> rows(stride * capture.height, 0);
    for (int y = 0; y < capture.height; ++y) {
        uint8_t* out = &rows[stride * (capture.height - 1 - y)];
        for (int x = 0; x < capture.width; ++x) {
            const uint32_t pixel = capture.at(x, y);
            out[3 * x] = static_cast<uint8_t>(pixel);
            out[3 * x + 1] = static_cast<uint8_t>(pixel >> 8);
            out[3 * x + 2] = static_cast<uint8_t>(pixel >> 16);
        }
    }
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = capture.width;
    header.biHeight = capture.height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(rows.size());
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    FILE* out = _wfopen(path.c_str(), L"wb");
    if (!out)
        return false;
    bool saved = fwrite(&file, sizeof file, 1, out) == 1 && fwrite(&header, sizeof header, 1, out) == 1 &&
                 fwrite(rows.data(), rows.size(), 1, out) == 1;
    return fclose(out) == 0 && saved;
}
