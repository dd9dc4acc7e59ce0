#include "test_window_windows.h"

#include "display/gdi_paint_target_windows.h"
#include "display/sheet_geometry.h"
#include "screen_capture_windows.h"

namespace {

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        FillClientBlack(window, reinterpret_cast<HDC>(wParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

const char kClassName[] = "QuorbelDisplayTestWindow";

}  // namespace

uint32_t SheetColour(int x, int y) {
    const uint32_t red = static_cast<uint32_t>(x) & 0xFFu;
    const uint32_t green = static_cast<uint32_t>(y) & 0xFFu;
    const uint32_t blue = 0x80u | (static_cast<uint32_t>(x) >> 8) | ((static_cast<uint32_t>(y) >> 8) << 2);
    return (red << 16) | (green << 8) | blue;
}

HBITMAP CreateSyntheticSheet() {
    std::vector<uint32_t> pixels(static_cast<size_t>(kSheetWidth) * kSheetHeight);
    for (int y = 0; y < kSheetHeight; ++y) {
        for (int x = 0; x < kSheetWidth; ++x) {
            pixels[static_cast<size_t>(y) * kSheetWidth + x] = SheetColour(x, y);
        }
    }
    HDC screen = GetDC(nullptr);
    HBITMAP sheet = CreateCompatibleBitmap(screen, kSheetWidth, kSheetHeight);
    BITMAPINFO info = TopDown32(kSheetWidth, kSheetHeight);
    SetDIBits(screen, sheet, 0, kSheetHeight, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return sheet;
}

HWND TestWindow() {
    static HWND window = nullptr;
    if (window) {
        return window;
    }
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = TestWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClassA(&windowClass);
    window = CreateWindowExA(0, kClassName, "display test", WS_POPUP | WS_VISIBLE, 0, 0, kTestWindowWidth,
                             kTestWindowHeight, nullptr, nullptr, instance, nullptr);
    UpdateWindow(window);
    PumpMessages();
    return window;
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void FillClient(HWND window, COLORREF colour) {
    HDC dc = GetDC(window);
    RECT client{};
    GetClientRect(window, &client);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    ReleaseDC(window, dc);
}

std::vector<uint32_t> ReadClient(HWND window, int width, int height) {
    return CaptureClient(window, width, height).pixels;
}
