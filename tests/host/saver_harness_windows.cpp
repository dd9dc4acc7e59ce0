#include "saver_harness_windows.h"

#include <cstring>

void PumpFor(DWORD milliseconds) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    }
}

SaverProcess::~SaverProcess() { terminate(); }

bool SaverProcess::start(const std::string& exe, const std::string& arguments, const std::string& folder) {
    std::string commandLine = "\"" + exe + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    // 64-bit Wine has once refused a start right after the previous saver
    // ended, with ERROR_INTERNAL_ERROR before our program ran: one more try
    // then. Any other failure is the answer.
    for (int attempt = 0;; ++attempt) {
        if (CreateProcessA(exe.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                           &startup, &process_) != 0)
            return true;
        if (attempt > 0 || GetLastError() != ERROR_INTERNAL_ERROR)
            return false;
        PumpFor(500);
    }
}

DWORD SaverProcess::waitForExit(DWORD milliseconds) {
    if (!process_.hProcess)
        return kStillRunning;
    DWORD start = GetTickCount();
    for (;;) {
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0)
            break;
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds)
            return kStillRunning;
        PumpFor(elapsed + 20 > milliseconds ? milliseconds - elapsed : 20);
    }
    DWORD code = kStillRunning;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

bool SaverProcess::running() const {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

void SaverProcess::terminate() {
    if (!process_.hProcess)
        return;
    if (running()) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
    process_ = PROCESS_INFORMATION{};
}

HWND WaitForSaverWindow(const char* title, DWORD milliseconds) {
    DWORD start = GetTickCount();
    for (;;) {
        HWND window = FindWindowA(kSaverClass, title);
        if (window)
            return window;
        if (GetTickCount() - start >= milliseconds)
            return nullptr;
        PumpFor(20);
    }
}

HWND WaitForPreviewWindow(HWND parent, DWORD milliseconds) {
    DWORD start = GetTickCount();
    for (;;) {
        HWND window = FindWindowExA(parent, nullptr, kSaverClass, nullptr);
        if (window)
            return window;
        if (GetTickCount() - start >= milliseconds)
            return nullptr;
        PumpFor(20);
    }
}

namespace {
struct DialogSearch {
    DWORD processId;
    HWND except;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<DialogSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[16] = {};
    GetClassNameA(window, className, sizeof(className));
    if (owner == search->processId && window != search->except && std::strcmp(className, "#32770") == 0 &&
        IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND WaitForDialogOf(DWORD processId, DWORD milliseconds, HWND except) {
    DWORD start = GetTickCount();
    for (;;) {
        DialogSearch search{processId, except, nullptr};
        EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        if (GetTickCount() - start >= milliseconds)
            return nullptr;
        PumpFor(20);
    }
}

namespace {
void SendKey(WORD virtualKey, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, 0));
    input.ki.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
}

}  // namespace

void SendMouseEvent(DWORD flags, DWORD data) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.mouseData = data;
    SendInput(1, &input, sizeof(input));
}

void PressKey(WORD virtualKey) { SendKey(virtualKey, 0); }
void ReleaseKey(WORD virtualKey) { SendKey(virtualKey, KEYEVENTF_KEYUP); }

void ClickLeft() {
    SendMouseEvent(MOUSEEVENTF_LEFTDOWN);
    SendMouseEvent(MOUSEEVENTF_LEFTUP);
}

void MoveCursorTo(int x, int y) { SetCursorPos(x, y); }

namespace {
HKEY CreateKey(HKEY root, const char* key) {
    HKEY opened = nullptr;
    if (RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened, nullptr) != ERROR_SUCCESS) {
        return nullptr;
    }
    return opened;
}

void SetValue(HKEY root, const char* key, const char* name, DWORD type, const void* data, DWORD size) {
    HKEY opened = CreateKey(root, key);
    if (!opened)
        return;
    RegSetValueExA(opened, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(opened);
}
}  // namespace

void SetDwordValue(HKEY root, const char* key, const char* name, DWORD value) {
    SetValue(root, key, name, REG_DWORD, &value, sizeof(value));
}

void SetBinaryValue(HKEY root, const char* key, const char* name, const void* data, DWORD size) {
    SetValue(root, key, name, REG_BINARY, data, size);
}

void SetStringValue(HKEY root, const char* key, const char* name, const char* value) {
    SetValue(root, key, name, REG_SZ, value, static_cast<DWORD>(std::strlen(value) + 1));
}

void DeleteValue(HKEY root, const char* key, const char* name) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_SET_VALUE, &opened) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(opened, name);
    RegCloseKey(opened);
}

void DeleteKeyTree(HKEY root, const char* key) { RegDeleteTreeA(root, key); }

SavedRegistryValue::SavedRegistryValue(HKEY root, const char* key, const char* name)
    : root_(root), key_(key), name_(name) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return;
    DWORD size = 0;
    if (RegQueryValueExA(opened, name, nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
        data_.resize(size);
        present_ = RegQueryValueExA(opened, name, nullptr, &type_, data_.data(), &size) == ERROR_SUCCESS;
        data_.resize(size);
    }
    RegCloseKey(opened);
}

void SavedRegistryValue::restore() const {
    if (!present_) {
        DeleteValue(root_, key_.c_str(), name_.c_str());
        return;
    }
    SetValue(root_, key_.c_str(), name_.c_str(), type_, data_.data(), static_cast<DWORD>(data_.size()));
}
