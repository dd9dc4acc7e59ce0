#include "screenshot.h"

#include "screen_capture_windows.h"

bool SaveWindowBitmap(HWND window, const std::wstring& path) {
    RECT rect{};
    GetWindowRect(window, &rect);
    HDC screen = GetDC(nullptr);
    const CapturedPixels capture =
        CaptureRect(screen, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    ReleaseDC(nullptr, screen);
    return SaveBmp(capture, path);
}
