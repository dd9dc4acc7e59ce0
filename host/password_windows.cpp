#include "host/password_windows.h"

#include <cstring>

#include "host/config/windows_family_windows.h"
#include "host/fault_guard_windows.h"
#include "host/host_state_windows.h"
#include "host/saver_running_windows.h"
#include "saver_program/close_rules.h"

namespace {

typedef DWORD(WINAPI* PwdChangePasswordFn)(LPCSTR provider, HWND owner, DWORD flags, LPVOID reserved);

// System components are loaded from the system directory by full path, so a
// file of the same name beside the saver or in the current folder is never
// picked up instead.
HMODULE LoadSystemComponent(const char* fileName) {
    char path[MAX_PATH];
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    size_t nameLength = std::strlen(fileName);
    if (length == 0 || length + 1 + nameLength >= MAX_PATH)
        return nullptr;
    path[length] = '\\';
    std::memcpy(path + length + 1, fileName, nameLength + 1);
    HMODULE module = LoadLibraryA(path);
    // The component may have set a filter of its own while loading.
    KeepFaultGuard();
    return module;
}

bool PasswordProtectionSet() {
    HKEY desktop = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &desktop) != ERROR_SUCCESS) {
        return false;
    }
    // Zeroed first: a value shorter than 4 bytes then reads as its own bytes.
    // A longer one makes the query fail, which leaves protection off.
    BYTE value[4] = {0, 0, 0, 0};
    DWORD size = sizeof(value);
    bool on = RegQueryValueExA(desktop, "ScreenSaveUsePassword", nullptr, nullptr, value, &size) == ERROR_SUCCESS &&
              (value[0] | value[1] | value[2] | value[3]) != 0;
    RegCloseKey(desktop);
    return on;
}

}  // namespace

void LoadPasswordCheck() {
    if (!Windows95Family())
        return;
    if (hostState.passwordModule)
        UnloadPasswordCheck();
    if (!PasswordProtectionSet())
        return;

    hostState.passwordModule = LoadSystemComponent("PASSWORD.CPL");
    if (!hostState.passwordModule)
        return;
    hostState.verifyFunction = reinterpret_cast<VerifyScreenSavePwdFn>(
        reinterpret_cast<void*>(GetProcAddress(hostState.passwordModule, "VerifyScreenSavePwd")));
    if (hostState.verifyFunction) {
        SetSaverRunning(1);
    } else {
        UnloadPasswordCheck();
    }
}

void UnloadPasswordCheck() {
    if (!Windows95Family() || !hostState.passwordModule)
        return;
    FreeLibrary(hostState.passwordModule);
    hostState.passwordModule = nullptr;
    if (hostState.verifyFunction) {
        hostState.verifyFunction = nullptr;
        SetSaverRunning(0);
    }
}

LRESULT ConfirmClose(HWND window) {
    if (hostState.passwordCheckActive || hostState.closeApproved)
        return 0;
    if (!hostState.verifyFunction) {
        hostState.closeApproved = true;
        return 1;
    }
    if (WithinReaskInterval(GetTickCount(), hostState.lastCheckEndTick)) {
        return hostState.closeApproved;
    }

    hostState.passwordCheckActive = true;
    // Timer messages queued for the window would only be dispatched by the
    // dialog's own loop; drop up to two of them.
    MSG dropped;
    for (int i = 0; i < 2; ++i) {
        PeekMessageA(&dropped, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    }
    hostState.closeApproved = SendMessageA(window, kVerifyRequestMessage, 0, 0) != 0;
    hostState.passwordCheckActive = false;
    if (!hostState.closeApproved)
        SetCursor(nullptr);
    hostState.lastCheckEndTick = GetTickCount();
    return hostState.closeApproved;
}

LRESULT AnswerVerifyRequest(HWND window) {
    if (!hostState.verifyFunction)
        return 1;
    LRESULT answer = hostState.verifyFunction(window);
    // Its dialog may have loaded more (an input method for the password box).
    KeepFaultGuard();
    return answer;
}

void ChangeSaverPassword(HWND owner) {
    HMODULE mpr = LoadSystemComponent("MPR.DLL");
    if (!mpr)
        return;
    auto change =
        reinterpret_cast<PwdChangePasswordFn>(reinterpret_cast<void*>(GetProcAddress(mpr, "PwdChangePasswordA")));
    if (change)
        change("SCRSAVE", owner, 0, nullptr);
    FreeLibrary(mpr);
}
