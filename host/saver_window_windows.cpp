// The saver window's first and last message stages: input method, cursor,
// title and task-switch protection, and turning input into close requests.
#include "host/config/windows_family_windows.h"
#include "host/display_window_windows.h"
#include "host/host_state_windows.h"
#include "host/password_windows.h"
#include "saver_program/close_rules.h"

namespace {

void SwitchInputMethodOff(HWND window) {
    // Only an input method already in the process is touched; none is loaded.
    hostState.imeModule = GetModuleHandleA("IMM32.DLL");
    if (!hostState.imeModule)
        return;
    hostState.imeAssociate = reinterpret_cast<ImmAssociateContextFn>(
        reinterpret_cast<void*>(GetProcAddress(hostState.imeModule, "ImmAssociateContext")));
    if (hostState.imeAssociate)
        hostState.savedImeContext = hostState.imeAssociate(window, nullptr);
}

void RestoreInputMethod(HWND window) {
    if (hostState.imeModule && hostState.imeAssociate && hostState.savedImeContext) {
        hostState.imeAssociate(window, hostState.savedImeContext);
    }
}

void HideCursor() { SetCursor(nullptr); }

void RequestClose(HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }

// The help information belongs to the sender only while its call lasts, and
// a pointer into this process means nothing to the preview's parent in
// another one. So the request goes on as a sent message, which the system
// copies across processes, from a copy of our own that outlives the call;
// the timeout keeps a hung parent from stalling the preview. (A posted
// WM_HELP is refused by the system: its parameter is a pointer.)
void ForwardHelpToParent(HWND parent, LPARAM lParam) {
    static HELPINFO forwarded;
    const HELPINFO* received = reinterpret_cast<const HELPINFO*>(lParam);
    if (!received || received->cbSize < sizeof(UINT))
        return;
    UINT size = received->cbSize < sizeof(HELPINFO) ? received->cbSize : sizeof(HELPINFO);
    ZeroMemory(&forwarded, sizeof(forwarded));
    CopyMemory(&forwarded, received, size);
    forwarded.cbSize = size;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(parent, WM_HELP, reinterpret_cast<WPARAM>(parent), reinterpret_cast<LPARAM>(&forwarded),
                        SMTO_ABORTIFHUNG, 1000, &ignored);
}

// A preview hands help and context-menu requests to its parent.
LRESULT ForwardToParent(HWND window, UINT message, LPARAM lParam) {
    HWND parent = GetParent(window);
    if (parent && IsWindow(parent)) {
        if (message == WM_HELP) {
            ForwardHelpToParent(parent, lParam);
        } else {
            PostMessageA(parent, message, reinterpret_cast<WPARAM>(parent), lParam);
        }
    }
    return 1;
}

bool IsTaskSwitchCommand(WPARAM command) {
    // Compared whole: the low four bits are not masked off.
    return command == SC_NEXTWINDOW || command == SC_PREVWINDOW || command == SC_SCREENSAVE;
}

void TestMovement(HWND window) {
    // The message's own coordinates are not used: a mouse-move message also
    // comes when the window appears under a resting cursor.
    POINT now{};
    GetCursorPos(&now);
    if (MovedBeyondTolerance(hostState.mouseOrigin.x, hostState.mouseOrigin.y, now.x, now.y, hostState.moveTolerance)) {
        RequestClose(window);
        hostState.mouseOrigin = now;
    }
}

LRESULT HandleCloseRequest(HWND window, WPARAM wParam, LPARAM lParam) {
    if (!Windows95Family() || ConfirmClose(window)) {
        return DefWindowProcA(window, WM_CLOSE, wParam, lParam);
    }
    // Refused: only a new movement from here asks again.
    GetCursorPos(&hostState.mouseOrigin);
    return 0;
}

}  // namespace

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            SwitchInputMethodOff(window);
            GetCursorPos(&hostState.mouseOrigin);
            if (!hostState.previewMode)
                HideCursor();
            break;
        case WM_DESTROY:
            RestoreInputMethod(window);
            PostQuitMessage(0);
            break;
        case WM_SETTEXT:
            return 0;
        case WM_PAINT:
            if (hostState.closeApproved)
                return DefWindowProcA(window, message, wParam, lParam);
            if (!hostState.previewMode)
                HideCursor();
            break;
        case WM_HELP:
        case WM_CONTEXTMENU:
            if (hostState.previewMode)
                return ForwardToParent(window, message, lParam);
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            if (hostState.closeApproved)
                return DefWindowProcA(window, message, wParam, lParam);
            break;
        case WM_SYSCOMMAND:
            if (!hostState.previewMode && IsTaskSwitchCommand(wParam))
                return 0;
            break;
        case WM_TIMER:
            if (hostState.closeApproved)
                return 0;
            Sleep(0);
            break;
    }
    return DisplayWindowProc(window, message, wParam, lParam);
}

LRESULT CALLBACK CloseOnInputProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hostState.previewMode || hostState.closeApproved) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (message == WM_CLOSE)
        return HandleCloseRequest(window, wParam, lParam);
    if (message == kVerifyRequestMessage) {
        if (!Windows95Family())
            return DefWindowProcA(window, message, wParam, lParam);
        return AnswerVerifyRequest(window);
    }
    if (hostState.passwordCheckActive)
        return DefWindowProcA(window, message, wParam, lParam);

    switch (message) {
        case WM_SHOWWINDOW:
            if (wParam)
                HideCursor();
            break;
        case WM_ACTIVATEAPP:
            if (!wParam)
                RequestClose(window);
            break;
        case WM_SETCURSOR:
            HideCursor();
            return 1;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            RequestClose(window);
            break;
        case WM_MOUSEMOVE:
            TestMovement(window);
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
