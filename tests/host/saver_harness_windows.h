// Drives the real saver program from a test: starts it with a command line,
// finds its window, sends it input, reads the screen and its exit code.
#pragma once

#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#undef WINVER
#define WINVER 0x0601
#include <windows.h>

#include <string>
#include <vector>

#include "screen_capture_windows.h"

constexpr char kSaverClass[] = "WindowsScreenSaverClass";
constexpr DWORD kStillRunning = STILL_ACTIVE;

// Runs the message queue of this thread while waiting, so that windows of
// ours (a preview's parent) keep answering the saver.
void PumpFor(DWORD milliseconds);

class SaverProcess {
public:
    SaverProcess() = default;
    SaverProcess(const SaverProcess&) = delete;
    SaverProcess& operator=(const SaverProcess&) = delete;
    ~SaverProcess();

    // Starts `exe` with the given arguments in `folder` (also the current
    // directory). False if CreateProcess fails.
    bool start(const std::string& exe, const std::string& arguments, const std::string& folder);
    // The exit code once the process has ended within the limit, else
    // kStillRunning.
    DWORD waitForExit(DWORD milliseconds);
    bool running() const;
    // Ends a saver that a test left running.
    void terminate();
    HANDLE handle() const { return process_.hProcess; }
    HANDLE mainThread() const { return process_.hThread; }
    DWORD id() const { return process_.dwProcessId; }

private:
    PROCESS_INFORMATION process_{};
};

// Waits for a top-level window of the saver class and title.
HWND WaitForSaverWindow(const char* title, DWORD milliseconds);
// Waits for a saver child window of `parent`.
HWND WaitForPreviewWindow(HWND parent, DWORD milliseconds);

// Waits for a top-level dialog (class "#32770") of the process, other than
// `except`; 0 ms looks once.
HWND WaitForDialogOf(DWORD processId, DWORD milliseconds, HWND except = nullptr);

// Input as the user makes it, through the system's input queue.
void PressKey(WORD virtualKey);
void ReleaseKey(WORD virtualKey);
void ClickLeft();
void SendMouseEvent(DWORD flags, DWORD data = 0);
// Moves the cursor to an absolute screen position, with a move event.
void MoveCursorTo(int x, int y);

// Registry helpers for the values the tests set up and restore.
void SetDwordValue(HKEY root, const char* key, const char* name, DWORD value);
void SetBinaryValue(HKEY root, const char* key, const char* name, const void* data, DWORD size);
void SetStringValue(HKEY root, const char* key, const char* name, const char* value);
void DeleteValue(HKEY root, const char* key, const char* name);
void DeleteKeyTree(HKEY root, const char* key);

// One registry value as it was when made: its type and bytes, or its
// absence. restore() puts exactly that back, whatever the test wrote since.
class SavedRegistryValue {
public:
    SavedRegistryValue(HKEY root, const char* key, const char* name);
    void restore() const;
    bool present() const { return present_; }
    DWORD type() const { return type_; }
    const std::vector<BYTE>& data() const { return data_; }

private:
    HKEY root_;
    std::string key_;
    std::string name_;
    bool present_ = false;
    DWORD type_ = REG_NONE;
    std::vector<BYTE> data_;
};
