// One saver window's display: what the host hands it before the window is
// made, the running saver, and the handles, each empty until it is made.
// The host keeps one for the whole process and passes it to the window as
// its creation parameter (see DisplayWindowProc).
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "display/saver.h"
#include "host/animation_thread_windows.h"
#include "host/back_buffer_windows.h"
#include "host/gdi_paint_target_windows.h"
#include "host/screen_area.h"
#include "host/sheet_graphics_windows.h"
#include "settings/settings.h"

struct DisplayState final : AnimationClient {
    // From the host, before the window is created.
    HINSTANCE instance = nullptr;   // the module that carries LIFE9DIB
    WNDPROC next = DefWindowProcA;  // every message goes on here after the display's own handling
    Settings settings{};            // as the host loaded them
    std::optional<uint32_t> seed;   // empty: the clock's seconds
    // Called on the ticking thread before every tick, so the host can put
    // back what a module loaded behind its back replaced (its fault guard).
    void (*beforeTick)() = nullptr;
    // The DPI to scale the picture for; null: no scaling.
    int (*dpiOf)(HWND window) = nullptr;
    // Where a full-screen window goes, asked again when the display changes;
    // null for a window that does not follow the display (a preview).
    ScreenRect (*fullScreenArea)() = nullptr;

    Saver saver;
    HWND window = nullptr;         // the window StartDisplay was given
    int scale = 1;                 // device pixels per logical pixel, each way
    bool followRequested = false;  // a kFollowScreenMessage is queued and not yet handled
    HRSRC sheetInfo = nullptr;
    HGLOBAL sheetResource = nullptr;  // the loaded sheet; its bytes stay readable until EndDisplay
    SheetGraphics sheet;              // sprites, colours and palette made from it
    BackBuffer buffer;                // the picture, shared by the ticking thread and WM_PAINT
    HDC paintDC = nullptr;            // the window's DC during one tick, null between ticks
    GdiPaintTarget target;
    AnimationThread animation;

    uint16_t tickDelay() override { return saver.tickDelay(); }
    void tick() override;
};

// One generation on the calling thread, with the back buffer locked: take
// the window's DC, realise the sheet palette on it, tick the saver (which
// draws into the buffer, through a ScaledTarget above scale 1), show what
// changed and release the DC.
void RunTick(DisplayState& display, HWND window);

// WM_PAINT: the invalid part of the window from the back buffer (black
// before the first tick). Holds the buffer's lock from before BeginPaint to
// after EndPaint.
void PaintFromBuffer(DisplayState& display, HWND window);

// WM_ERASEBKGND: the client area black on dc, under the buffer's lock (the
// lock is re-entrant, so also from inside PaintFromBuffer's BeginPaint).
void EraseBackground(DisplayState& display, HWND window, HDC dc);

// A new back buffer of client's size at the display's scale. False when a
// picture is needed (the client is not empty) and cannot be made, as for a
// huge virtual screen or with little memory: the screen would stay black.
bool MakePictureBuffer(DisplayState& display, ClientSize client);

// The display's scale for window now (1 without dpiOf).
int ScaleOf(const DisplayState& display, HWND window);

// Posted to the window by RequestFollowScreen; its handling runs FollowScreen.
constexpr UINT kFollowScreenMessage = WM_APP + 1;

// Something the picture depends on changed (the screen, its DPI): asks for
// one FollowScreen. The first request posts kFollowScreenMessage, and later
// ones join it until it is handled, so a burst of changes is followed once,
// after the input already queued. Should the post fail, it follows at once.
void RequestFollowScreen(DisplayState& display, HWND window);

// The display changed: under the buffer's lock, the window moved and sized
// to fullScreenArea(), a new picture buffer, the scale asked again and a new
// world of the new logical size for the next tick. A picture buffer that
// cannot be made (a huge virtual screen, little memory) would leave the
// screen black for good, so the window is destroyed and the saver ends.
void FollowScreen(DisplayState& display, HWND window);
