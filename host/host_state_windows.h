// The host's process-wide record: the program's module, the saver window and
// the flags on which the saver's input and password handling hang.
#pragma once

#include <windows.h>

#include <cstdint>

typedef BOOL(WINAPI* VerifyScreenSavePwdFn)(HWND);
typedef HIMC(WINAPI* ImmAssociateContextFn)(HWND, HIMC);

struct HostState {
    HINSTANCE instance;
    // Stored once CreateWindowExA returns: still null during WM_CREATE.
    HWND saverWindow;
    bool previewMode;
    HWND previewParent;  // a preview's parent; the preview ends when it is gone

    // Input-to-close.
    POINT mouseOrigin;
    uint32_t moveTolerance;  // always 4
    bool closeApproved;
    bool passwordCheckActive;
    HMODULE imeModule;
    ImmAssociateContextFn imeAssociate;
    HIMC savedImeContext;

    // Password check (Windows 95 family only).
    HMODULE passwordModule;
    VerifyScreenSavePwdFn verifyFunction;
    DWORD lastCheckEndTick;  // 0xFFFFFFFF until the first password dialog ends
};

extern HostState hostState;

// The last stage of every saver window message: input-to-close, the close
// request, the verify request, then DefWindowProcA. The display hands on to
// it (DisplayState::next).
LRESULT CALLBACK CloseOnInputProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The class procedure of the saver window. Hands on to DisplayWindowProc
// whatever it does not answer itself.
LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
