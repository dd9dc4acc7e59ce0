#include "host/host_main_windows.h"

#include "display/animation_thread_windows.h"
#include "host/command_line.h"
#include "host/fault_guard_windows.h"
#include "host/host_state_windows.h"
#include "host/password_windows.h"
#include "resources/resource_ids.h"
#include "settings/config_dialog_windows.h"

namespace {

constexpr char kSaverClassName[] = "WindowsScreenSaverClass";
constexpr char kFullScreenTitle[] = "Screen Saver";
constexpr char kPreviewTitle[] = "Preview";
constexpr UINT kSpiScreenSaverRunning = 97;  // SPI_SCREENSAVERRUNNING

bool IsWindows95Family() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);  // 148 bytes
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
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
    saverClass.style = CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    saverClass.lpfnWndProc = HostWindowProc;
    saverClass.hInstance = hostState.instance;
    saverClass.hIcon = LoadIconA(hostState.instance, MAKEINTRESOURCEA(IDI_QUORBEL));
    saverClass.hCursor = nullptr;  // the cursor is hidden in full screen
    saverClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    saverClass.lpszClassName = kSaverClassName;
    return RegisterClassA(&saverClass) != 0;
}

}  // namespace

int32_t SetSaverRunning(int32_t on) {
    if (!hostState.windows95Family)
        return 0;
    UINT previous = 0;  // required by the call, never read
    return SystemParametersInfoA(kSpiScreenSaverRunning, static_cast<UINT>(on), &previous, 0);
}

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
        width = GetSystemMetrics(SM_CXSCREEN);
        height = GetSystemMetrics(SM_CYSCREEN);
        style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        exStyle = WS_EX_TOPMOST;
        title = kFullScreenTitle;
        if (FullScreenSaverAlreadyRunning())
            return 0;
        LoadPasswordCheck();
    }

    if (RegisterSaverClass()) {
        hostState.saverWindow = CreateWindowExA(exStyle, kSaverClassName, title, style, 0, 0, width, height, parent,
                                                nullptr, hostState.instance, nullptr);
        // Creation may have brought in an input method.
        KeepFaultGuard();
    }
    if (!hostState.saverWindow) {
        // No window, no loop, no quit value: report failure.
        UnloadPasswordCheck();
        return -1;
    }

    if (!parent)
        SetForegroundWindow(hostState.saverWindow);
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }

    // The NT family can end the loop with the window still there.
    if (!hostState.windows95Family && hostState.saverWindow)
        DestroyWindow(hostState.saverWindow);
    UnloadPasswordCheck();
    return static_cast<int32_t>(message.wParam);
}

int32_t HostMain(HINSTANCE instance, const char* arguments) {
    hostState.instance = instance;
    hostState.windows95Family = IsWindows95Family();
    // The dialogs and the application strings use the wide calls on NT, which
    // keep the Japanese texts whatever the code page; the 95 family has only
    // the ANSI ones. The saver loads the strings too, so set it for every mode.
    SetConfigDialogWindows95Family(hostState.windows95Family);
    InstallFaultGuard();
    // The display's ticks put it back too, for modules loaded behind our back.
    SetTickHook(KeepFaultGuard);

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
            if (!hostState.windows95Family)
                return -1;
            return RunChangePassword(request.argument);
        case RunMode::Unrecognised:
            break;
    }
    return -1;
}
