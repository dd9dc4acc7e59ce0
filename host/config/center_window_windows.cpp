// Centres a dialog over another window, keeping it on the screen.
#include "host/config/config_dialog_windows.h"
#include "settings/config_dialog_logic.h"

void CenterOverWindow(HWND window, HWND reference) {
    RECT own{};
    GetWindowRect(window, &own);

    HDC dc = GetDC(window);
    const int screenWidth = GetDeviceCaps(dc, HORZRES);
    const int screenHeight = GetDeviceCaps(dc, VERTRES);
    ReleaseDC(window, dc);

    // Without a reference (no owner) the screen itself is the reference.
    RECT over{0, 0, screenWidth, screenHeight};
    if (reference)
        GetWindowRect(reference, &over);

    const ScreenPoint position =
        CenteredPosition(ScreenRect{own.left, own.top, own.right, own.bottom},
                         ScreenRect{over.left, over.top, over.right, over.bottom}, screenWidth, screenHeight);
    SetWindowPos(window, nullptr, position.x, position.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}
