// Stand-ins for the display and the configuration dialog, so that the host
// can be driven before those parts exist: a black window with one white
// square, and no dialog.
#include <windows.h>

#include "host/host_state_windows.h"

LRESULT CALLBACK DisplayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        RECT client;
        GetClientRect(window, &client);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        RECT square{20, 20, 40, 40};
        FillRect(dc, &square, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        return 1;
    }
    return CloseOnInputProc(window, message, wParam, lParam);
}

INT_PTR CALLBACK ConfigDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
void LoadAppStrings() {}
