#include "host/display_window_windows.h"

#include "display/display_scale.h"

#include "host/gdi_paint_target_windows.h"
#include "host/sheet_graphics_windows.h"

namespace {

const uint8_t* LoadSheet(DisplayState& display, size_t* size) {
    display.sheetInfo = FindResourceA(display.instance, "LIFE9DIB", RT_BITMAP);
    if (!display.sheetInfo) {
        return nullptr;
    }
    display.sheetResource = LoadResource(display.instance, display.sheetInfo);
    if (!display.sheetResource) {
        return nullptr;
    }
    *size = SizeofResource(display.instance, display.sheetInfo);
    return static_cast<const uint8_t*>(LockResource(display.sheetResource));
}

// Named here: older headers lack it.
constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED

DisplayState* DisplayOf(HWND window) {
    return reinterpret_cast<DisplayState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

}  // namespace

int StartDisplay(DisplayState& display, HWND window) {
    display.window = window;

    size_t sheetSize = 0;
    if (const uint8_t* sheet = LoadSheet(display, &sheetSize)) {
        // Built while the window is being created, before the host knows
        // it: the message boxes have no owner, as the saver has always done.
        display.sheet = BuildSheetGraphics(nullptr, sheet, sheetSize);
    }

    if (!LayOutViews(display, window)) {
        // A window whose creation fails may never see WM_DESTROY.
        EndDisplay(display);
        return 0;
    }
    StartAnimation(display.animation, display);
    return 1;
}

void EndDisplay(DisplayState& display) {
    // The thread may be mid-tick, drawing into a buffer; it must be gone
    // before anything is deleted.
    StopAnimation(display.animation);
    if (display.sheetResource) {
        FreeResource(display.sheetResource);
        display.sheetResource = nullptr;
        display.sheetInfo = nullptr;
    }
    ReleaseSheetGraphics(display.sheet);
    DisplayLock lock(display);
    display.views.clear();
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
            // Without a picture buffer the screen would stay black for good:
            // the window is not made, as a display change in that state ends
            // the saver.
            if (!StartDisplay(*display, window)) {
                return -1;
            }
            break;
        case WM_DESTROY:
            EndDisplay(*display);
            break;
        case WM_ERASEBKGND:
            EraseBackground(*display, window, reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_PAINT:
            PaintFromBuffer(*display, window);
            return 0;
        case WM_DISPLAYCHANGE:
        case kDpiChanged:
            // WM_DPICHANGED comes as the monitor holding most of the window
            // changes its DPI. Its suggested rectangle fits that monitor
            // alone: the window keeps covering them all, and every view
            // takes its own monitor's DPI.
            if (display->coversMonitors) {
                RequestFollowScreen(*display, window);
                return 0;
            }
            break;
        case kFollowScreenMessage:
            if (display->coversMonitors) {
                display->followRequested = false;
                FollowScreen(*display, window);
                return 0;
            }
            break;
        case WM_TIMER:
            // Only the animation thread ticks while it runs: a tick here
            // would step the same world at the same time. Without it (it
            // could not be started) the window's thread may tick instead.
            if (!display->animation.thread) {
                RunTick(*display, window);
            }
            break;
        default:
            break;
    }
    return display->next(window, message, wParam, lParam);
}
