#include "host/display_dpi_windows.h"

#include <algorithm>
#include <climits>

#include "host/system_function_windows.h"

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using MonitorFromPointFn = HMONITOR(WINAPI*)(POINT, DWORD);
using MonitorFromWindowFn = HMONITOR(WINAPI*)(HWND, DWORD);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

// Named here: older headers lack them.
constexpr DWORD kDefaultToPrimary = 1;  // MONITOR_DEFAULTTOPRIMARY
constexpr DWORD kDefaultToNearest = 2;  // MONITOR_DEFAULTTONEAREST
constexpr int kEffectiveDpi = 0;        // MDT_EFFECTIVE_DPI
constexpr int kUnscaledDpi = 96;        // USER_DEFAULT_SCREEN_DPI

// The system's unsigned DPI as an int, saturated: a huge one must not turn
// negative on the way (ScaleForDpi bounds the rest).
int DpiValue(UINT dpi) { return static_cast<int>(std::min<UINT>(dpi, INT_MAX)); }

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : kUnscaledDpi;
}

// 0 where the system cannot say.
int MonitorDpi(HMONITOR monitor) {
    if (!monitor) {
        return 0;
    }
    HMODULE shcore = LoadLibraryA("SHCORE.DLL");
    const auto getDpi = FindFunction<GetDpiForMonitorFn>(shcore, "GetDpiForMonitor");
    UINT x = 0;
    UINT y = 0;
    const bool known = getDpi && SUCCEEDED(getDpi(monitor, kEffectiveDpi, &x, &y));
    if (shcore) {
        FreeLibrary(shcore);
    }
    return known ? DpiValue(x) : 0;
}

}  // namespace

int PrimaryMonitorDpi() {
    const auto monitorFromPoint = FindInUser32<MonitorFromPointFn>("MonitorFromPoint");
    return DpiOfMonitor(monitorFromPoint ? monitorFromPoint(POINT{0, 0}, kDefaultToPrimary) : nullptr);
}

int DpiOfMonitor(HMONITOR monitor) {
    const int dpi = MonitorDpi(monitor);
    return dpi > 0 ? dpi : ScreenDpi();
}

int WindowDpi(HWND window) {
    if (const auto getDpi = FindInUser32<GetDpiForWindowFn>("GetDpiForWindow")) {
        if (const UINT dpi = getDpi(window)) {
            return DpiValue(dpi);
        }
    }
    const auto monitorFromWindow = FindInUser32<MonitorFromWindowFn>("MonitorFromWindow");
    const int dpi = monitorFromWindow ? MonitorDpi(monitorFromWindow(window, kDefaultToNearest)) : 0;
    return dpi > 0 ? dpi : ScreenDpi();
}
