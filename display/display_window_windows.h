// The display's handling of the saver window: world start on WM_CREATE, stop
// on WM_DESTROY, black background, and a tick on WM_TIMER. Everything is
// passed on to CloseOnInputProc except WM_ERASEBKGND.
#pragma once

#include <windows.h>

LRESULT CALLBACK DisplayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
