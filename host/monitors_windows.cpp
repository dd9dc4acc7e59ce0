#include "host/monitors_windows.h"

#include <algorithm>

#include "host/display_dpi_windows.h"
#include "host/system_function_windows.h"

namespace {

using EnumDisplayMonitorsFn = BOOL(WINAPI*)(HDC, const RECT*, MONITORENUMPROC, LPARAM);
using GetMonitorInfoFn = BOOL(WINAPI*)(HMONITOR, MONITORINFO*);

// Named here: older headers lack it.
constexpr DWORD kPrimaryMonitor = 1;  // MONITORINFOF_PRIMARY

ScreenRect FromRect(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

// The virtual-screen metrics are asked for by number: windows.h names them
// only for Windows 98 and 2000 onwards, and older systems answer 0.
ScreenRect FullScreenWindowArea() {
    constexpr int kXVirtualScreen = 76, kYVirtualScreen = 77, kCxVirtualScreen = 78, kCyVirtualScreen = 79;
    ScreenMetrics metrics;
    metrics.virtualScreen = {GetSystemMetrics(kXVirtualScreen), GetSystemMetrics(kYVirtualScreen),
                             GetSystemMetrics(kCxVirtualScreen), GetSystemMetrics(kCyVirtualScreen)};
    metrics.primaryWidth = GetSystemMetrics(SM_CXSCREEN);
    metrics.primaryHeight = GetSystemMetrics(SM_CYSCREEN);
    return FullScreenArea(metrics);
}

struct Enumeration {
    GetMonitorInfoFn getInfo;
    MonitorList monitors;
};

BOOL CALLBACK AddMonitor(HMONITOR handle, HDC, RECT*, LPARAM parameter) {
    auto& enumeration = *reinterpret_cast<Enumeration*>(parameter);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (enumeration.getInfo(handle, &info) && info.rcMonitor.right > info.rcMonitor.left &&
        info.rcMonitor.bottom > info.rcMonitor.top) {
        const Monitor monitor{FromRect(info.rcMonitor), DpiOfMonitor(handle)};
        auto& list = enumeration.monitors;
        list.insert((info.dwFlags & kPrimaryMonitor) ? list.begin() : list.end(), monitor);
    }
    return TRUE;
}

}  // namespace

MonitorList SystemMonitors(HWND /*window*/) {
    const auto enumerate = FindInUser32<EnumDisplayMonitorsFn>("EnumDisplayMonitors");
    Enumeration enumeration{FindInUser32<GetMonitorInfoFn>("GetMonitorInfoA"), {}};
    if (enumerate && enumeration.getInfo) {
        enumerate(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&enumeration));
    }
    if (enumeration.monitors.empty()) {
        enumeration.monitors.push_back({FullScreenWindowArea(), PrimaryMonitorDpi()});
    }
    return enumeration.monitors;
}

MonitorList PreviewMonitors(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    return {{{origin.x, origin.y, client.right, client.bottom}, WindowDpi(window)}};
}
