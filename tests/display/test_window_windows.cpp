#include "test_window_windows.h"

#include "display/sheet_geometry.h"
#include "host/gdi_paint_target_windows.h"
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

uint8_t SheetIndex(int x, int y) { return static_cast<uint8_t>(1 + (x * 37 + y * 101) % 255); }

RGBQUAD IndexColour(int index) {
    return RGBQUAD{static_cast<BYTE>(0x80 | (index >> 1)), static_cast<BYTE>(255 - index), static_cast<BYTE>(index), 0};
}

}  // namespace

uint32_t SheetColour(int x, int y) {
    const RGBQUAD c = IndexColour(SheetIndex(x, y));
    return (uint32_t{c.rgbRed} << 16) | (uint32_t{c.rgbGreen} << 8) | c.rgbBlue;
}

SheetGraphics CreateSyntheticSheet() {
    SheetGraphics sheet;
    sheet.sprites = IndexedImage(kSheetWidth, kSheetHeight);
    for (int y = 0; y < kSheetHeight; ++y) {
        for (int x = 0; x < kSheetWidth; ++x) {
            sheet.sprites.at(x, y) = SheetIndex(x, y);
        }
    }
    sheet.colours.push_back(RGBQUAD{0, 0, 0, 0});
    for (int i = 1; i < 256; ++i) {
        sheet.colours.push_back(IndexColour(i));
    }
    sheet.palette = CreatePaletteOf(sheet.colours);
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
