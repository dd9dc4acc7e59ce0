#include "display/display_window_windows.h"

#include "display/gdi_paint_target_windows.h"
#include "display/sheet_graphics_windows.h"

namespace {

const uint8_t* LoadSheet(DisplayState& display) {
    display.sheetInfo = FindResourceA(display.instance, "LIFE9DIB", RT_BITMAP);
    if (!display.sheetInfo) {
        return nullptr;
    }
    display.sheetResource = LoadResource(display.instance, display.sheetInfo);
    if (!display.sheetResource) {
        return nullptr;
    }
    return static_cast<const uint8_t*>(LockResource(display.sheetResource));
}

DisplayState* DisplayOf(HWND window) {
    return reinterpret_cast<DisplayState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

}  // namespace

int StartDisplay(DisplayState& display, HWND window) {
    display.window = window;
    display.saver.prepare(display.settings, display.seed);

    if (const uint8_t* sheet = LoadSheet(display)) {
        // Built while the window is being created, before the host knows
        // it: the message boxes have no owner and the bitmap is made for the
        // screen's device context, as the saver has always done.
        display.sheetBitmap = BuildSheetGraphics(nullptr, sheet, display.sheetPalette);
    }

    display.saver.startWorld(ClientSizeOf(window));
    StartAnimation(display.animation, display);
    return 1;
}

void EndDisplay(DisplayState& display) {
    // The thread may be mid-tick with the bitmap selected; it must be gone
    // before anything is deleted.
    StopAnimation(display.animation);
    if (display.sheetResource) {
        FreeResource(display.sheetResource);
        display.sheetResource = nullptr;
        display.sheetInfo = nullptr;
    }
    if (display.sheetBitmap) {
        DeleteObject(display.sheetBitmap);
        display.sheetBitmap = nullptr;
    }
    if (display.sheetPalette) {
        DeleteObject(display.sheetPalette);
        display.sheetPalette = nullptr;
    }
    display.saver.end();
}

LRESULT CALLBACK DisplayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    DisplayState* display = DisplayOf(window);
    if (!display) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    switch (message) {
        case WM_CREATE:
            StartDisplay(*display, window);
            break;
        case WM_DESTROY:
            EndDisplay(*display);
            break;
        case WM_ERASEBKGND:
            FillClientBlack(window, reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_TIMER:
            RunTick(*display, window);
            break;
        default:
            break;
    }
    return display->next(window, message, wParam, lParam);
}
