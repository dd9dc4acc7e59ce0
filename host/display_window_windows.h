// The display's handling of the saver window: worlds start on WM_CREATE,
// stop on WM_DESTROY, black background, WM_PAINT from the views' buffers, a
// tick on WM_TIMER when no animation thread runs, and for a full-screen
// window (coversMonitors) WM_DISPLAYCHANGE and WM_DPICHANGED, each a request
// to follow the screen (RequestFollowScreen, answered by
// kFollowScreenMessage). Everything but WM_ERASEBKGND, WM_PAINT and those is
// then passed on to the DisplayState's `next` procedure.
#pragma once

#include <windows.h>

#include "host/display_state_windows.h"

// The saver window's class style. With CS_OWNDC the ticking thread's GetDC
// and the window thread's BeginPaint share one DC, which BeginPaint clips to
// the update region: the back buffer's lock keeps them apart.
constexpr UINT kSaverClassStyle = CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;

// The window's DisplayState comes as the creation parameter
// (CreateWindowEx's last argument) and is kept with the window from
// WM_NCCREATE on; messages before that go to DefWindowProcA.
LRESULT CALLBACK DisplayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Builds the sheet graphics, lays out a view for each monitor (each with
// its world seeded, its settings resolved and sized to its logical part of
// the client area, and its buffer) and starts the animation thread, in that
// order. Gives 1, or 0 when a picture of a part that is not empty cannot be
// made (a huge monitor, little memory): then the animation thread is not
// started and the rest is released again.
int StartDisplay(DisplayState& display, HWND window);

// Joins the animation thread, then releases the sheet, its graphics and the
// views (their savers and buffers), whichever exist. Harmless when repeated.
void EndDisplay(DisplayState& display);
