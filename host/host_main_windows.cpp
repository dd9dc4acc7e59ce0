#include "host/host_main_windows.h"

#include "host/command_line.h"
#include "host/config/config_dialog_windows.h"
#include "host/config/windows_family_windows.h"
#include "host/display_state_windows.h"
#include "host/display_window_windows.h"
#include "host/fault_guard_windows.h"
#include "host/host_state_windows.h"
#include "host/monitors_windows.h"
#include "host/password_windows.h"
#include "host/screen_area.h"
#include "resources/resource_ids.h"
#include "settings/settings_store.h"

namespace {

constexpr char kSaverClassName[] = "WindowsScreenSaverClass";
constexpr char kFullScreenTitle[] = "Screen Saver";
constexpr char kPreviewTitle[] = "Preview";

// The saver window's display. It lives as long as the process: on the
// Windows 95 family a window still there when the message loop ends is not
// destroyed, and its animation thread runs on until the process exits.
DisplayState saverDisplay;

bool IsWindows95Family() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);  // 148 bytes
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

// How often a preview looks for its parent: a parent whose process has
// ended may be gone without the preview being told, and a tick (up to two
// seconds apart) is too slow a clock for that.
constexpr UINT kParentCheckMilliseconds = 250;

void CALLBACK EndPreviewWithoutParent(HWND, UINT, UINT_PTR, DWORD) {
    if (IsWindow(hostState.previewParent))
        return;
    if (hostState.saverWindow && IsWindow(hostState.saverWindow)) {
        DestroyWindow(hostState.saverWindow);
    } else {
        PostQuitMessage(0);
    }
}

HWND WindowFromNumber(uint32_t number) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(number)); }

// Another full-screen saver already running is brought to the front instead.
bool FullScreenSaverAlreadyRunning() {
    HWND other = FindWindowA(kSaverClassName, kFullScreenTitle);
    if (other && IsWindow(other)) {
        SetForegroundWindow(other);
        return true;
    }
    return false;
}

bool RegisterSaverClass() {
    WNDCLASSA saverClass{};
    saverClass.style = kSaverClassStyle;
    saverClass.lpfnWndProc = HostWindowProc;
    saverClass.hInstance = hostState.instance;
    saverClass.hIcon = LoadIconA(hostState.instance, MAKEINTRESOURCEA(IDI_QUORBEL));
    saverClass.hCursor = nullptr;  // the cursor is hidden in full screen
    saverClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    saverClass.lpszClassName = kSaverClassName;
    return RegisterClassA(&saverClass) != 0;
}

}  // namespace

bool PrepareConfigDialog(HINSTANCE) { return true; }

int32_t RunConfiguration(HWND owner) {
    if (!PrepareConfigDialog(hostState.instance))
        return 0;
    return static_cast<int32_t>(RunConfigDialog(hostState.instance, owner));
}

int32_t RunPreview(const char* argument) {
    HWND parent = WindowFromNumber(ParseWindowNumber(SkipSpaces(argument)));
    if (!parent || !IsWindow(parent))
        return -1;
    return RunSaverWindow(parent);
}

int32_t RunChangePassword(const char* argument) {
    HWND owner = WindowFromNumber(ParseWindowNumber(SkipSpaces(argument)));
    if (!owner || !IsWindow(owner))
        owner = GetForegroundWindow();
    ChangeSaverPassword(owner);
    return 0;
}

int32_t RunSaverWindow(HWND parent) {
    int left = 0;
    int top = 0;
    int width;
    int height;
    DWORD style;
    DWORD exStyle;
    const char* title;
    if (parent) {
        RECT client{};
        GetClientRect(parent, &client);
        width = client.right;
        height = client.bottom;
        style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
        exStyle = 0;
        title = kPreviewTitle;
        hostState.previewMode = true;
    } else {
        const ScreenRect area = Bounds(SystemMonitors(nullptr));
        left = area.left;
        top = area.top;
        width = area.width;
        height = area.height;
        style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        exStyle = WS_EX_TOPMOST;
        title = kFullScreenTitle;
        if (FullScreenSaverAlreadyRunning())
            return 0;
        LoadPasswordCheck();
    }

    if (RegisterSaverClass()) {
        // The display starts during the window's creation, from these.
        LoadAppStrings();
        LoadSettings();
        saverDisplay.instance = hostState.instance;
        saverDisplay.next = CloseOnInputProc;
        saverDisplay.settings = userSettings;
        // The display's ticks put the fault guard back too, for modules
        // loaded behind our back.
        saverDisplay.beforeTick = KeepFaultGuard;
        saverDisplay.monitors = parent ? PreviewMonitors : SystemMonitors;
        saverDisplay.coversMonitors = !parent;
        hostState.saverWindow = CreateWindowExA(exStyle, kSaverClassName, title, style, left, top, width, height,
                                                parent, nullptr, hostState.instance, &saverDisplay);
        // Creation may have brought in an input method.
        KeepFaultGuard();
    }
    if (!hostState.saverWindow) {
        // No window, no loop, no quit value: report failure.
        UnloadPasswordCheck();
        return -1;
    }

    if (parent) {
        hostState.previewParent = parent;
        SetTimer(nullptr, 0, kParentCheckMilliseconds, EndPreviewWithoutParent);
    } else {
        SetForegroundWindow(hostState.saverWindow);
    }
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }

    // The NT family can end the loop with the window still there.
    if (!Windows95Family() && hostState.saverWindow)
        DestroyWindow(hostState.saverWindow);
    // A preview's window goes without WM_DESTROY when its parent's process
    // ends: its display, ticking thread and all, is ended here.
    if (!IsWindow(hostState.saverWindow))
        EndDisplay(saverDisplay);
    UnloadPasswordCheck();
    return static_cast<int32_t>(message.wParam);
}

int32_t HostMain(HINSTANCE instance, const char* arguments) {
    hostState.instance = instance;
    SetWindows95Family(IsWindows95Family());
    InstallFaultGuard();

    ModeRequest request = ParseMode(arguments);
    switch (request.mode) {
        case RunMode::Configuration:
            return RunConfiguration(nullptr);
        case RunMode::ConfigurationOwned:
            return RunConfiguration(GetForegroundWindow());
        case RunMode::FullScreen:
            return RunSaverWindow(nullptr);
        case RunMode::Preview:
            return RunPreview(request.argument);
        case RunMode::ChangePassword:
            if (!Windows95Family())
                return -1;
            return RunChangePassword(request.argument);
        case RunMode::Unrecognised:
            break;
    }
    return -1;
}
