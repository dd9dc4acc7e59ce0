// The one way the Windows tests read pixels back: from the screen, from a
// window's client area, or from a device bitmap, always as 0x00RRGGBB words,
// top row first.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct CapturedPixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // empty when the capture failed

    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // Pixels inside `area` (clipped to the capture) that are not black.
    size_t countNonBlack(const RECT& area) const;
};

// The header of a 32-bit top-down DIB of width x height.
BITMAPINFO TopDown32(int width, int height);

// Copies a width x height rectangle at (left, top) of a device context.
CapturedPixels CaptureRect(HDC source, int left, int top, int width, int height);
// The whole primary screen, as the user sees it.
CapturedPixels CaptureScreen();
// The top-left width x height pixels of a window's client area.
CapturedPixels CaptureClient(HWND window, int width, int height);
// A device bitmap, read through GetDIBits (it must not be selected anywhere).
CapturedPixels CaptureBitmap(HBITMAP bitmap);

// Writes a capture as a 24-bit BMP file.
bool SaveBmp(const CapturedPixels& capture, const std::wstring& path);
