// One saver window's display: what the host hands it before the window is
// made, one view per monitor with its running saver and picture, and the
// handles, each empty until it is made. The host keeps one for the whole
// process and passes it to the window as its creation parameter (see
// DisplayWindowProc).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "display/saver.h"
#include "display/tick_pacer.h"
#include "host/animation_thread_windows.h"
#include "host/back_buffer_windows.h"
#include "host/gdi_paint_target_windows.h"
#include "host/screen_area.h"
#include "host/sheet_graphics_windows.h"
#include "host/tick_count_clock_windows.h"
#include "settings/settings.h"

// One monitor's part of the window: a world of its own, laid out to that
// part at the monitor's scale, drawn into a picture of the part's size.
struct MonitorView {
    ScreenRect monitor;  // the monitor on the screen, as last reported
    ScreenRect part;     // where it shows in the window's client area
    int scale = 1;       // device pixels per logical pixel, each way
    Saver saver;
    BackBuffer buffer;
    // When its next tick is due; none until its world is paced (StartPacing,
    // or its first tick).
    std::optional<BasicTickPacer<TickCountClock>> pacer;
};

struct DisplayState final : AnimationClient {
    DisplayState();
    ~DisplayState();
    DisplayState(const DisplayState&) = delete;
    DisplayState& operator=(const DisplayState&) = delete;

    // From the host, before the window is created.
    HINSTANCE instance = nullptr;   // the module that carries LIFE9DIB
    WNDPROC next = DefWindowProcA;  // every message goes on here after the display's own handling
    Settings settings{};            // as the host loaded them
    // The first world's seed (empty: the clock's seconds); each further
    // world takes the next number.
    std::optional<uint32_t> seed;
    // Called on the ticking thread before every tick, so the host can put
    // back what a module loaded behind its back replaced (its fault guard).
    void (*beforeTick)() = nullptr;
    // The monitors to show, in screen coordinates, each with its DPI: every
    // one's part of the client area gets a view. Null: one view over the
    // client area, unscaled.
    MonitorList (*monitors)(HWND window) = nullptr;
    // A full-screen window: moved over the monitors' bounds, and following
    // the display when it changes (a preview keeps its place).
    bool coversMonitors = false;

    HWND window = nullptr;         // the window StartDisplay was given
    bool followRequested = false;  // a kFollowScreenMessage is queued and not yet handled
    HRSRC sheetInfo = nullptr;
    HGLOBAL sheetResource = nullptr;  // the loaded sheet; its bytes stay readable until EndDisplay
    SheetGraphics sheet;              // sprites, colours and palette made from it
    // Shared by the ticking thread and the window's: changed and read only
    // under the lock.
    std::vector<std::unique_ptr<MonitorView>> views;
    std::optional<uint32_t> nextSeed;  // the next view's world's, once one is made
    TickCountClock clock;              // what every view is paced by
    HDC paintDC = nullptr;             // the window's DC during one tick, null between ticks
    GdiPaintTarget target;
    AnimationThread animation;

    void lock() { EnterCriticalSection(&guard); }
    void unlock() { LeaveCriticalSection(&guard); }

    // The wait until the soonest view is due, by the clock now.
    uint16_t tickDelay() override;
    // Every view that is due by the clock ticks, in one hand-over to the
    // screen; each one's next tick is due its delay after this one was.
    void tick() override;

private:
    CRITICAL_SECTION guard;
};

// Holds a display's lock for a scope. The lock is re-entrant.
class DisplayLock {
public:
    explicit DisplayLock(DisplayState& display) : display_(display) { display_.lock(); }
    ~DisplayLock() { display_.unlock(); }
    DisplayLock(const DisplayLock&) = delete;
    DisplayLock& operator=(const DisplayLock&) = delete;

private:
    DisplayState& display_;
};

// A view over part of the window (in client coordinates) at scale, with an
// empty saver and buffer, added to the display's views.
MonitorView& AddView(DisplayState& display, const ScreenRect& part, int scale);

// The view's first tick due one delay of its saver from now.
void StartPacing(DisplayState& display, MonitorView& view);

// One generation of every view on the calling thread, under the display's
// lock: take the window's DC, realise the sheet palette on it, tick each
// saver (which draws into its view's buffer, through a ScaledTarget above
// scale 1), show what changed, hand it to the screen once and release the
// DC.
void RunTick(DisplayState& display, HWND window);

// WM_PAINT: the invalid part of each view from its buffer (black before the
// first tick). Holds the lock from before BeginPaint to after EndPaint.
void PaintFromBuffer(DisplayState& display, HWND window);

// WM_ERASEBKGND: the client area black on dc, under the lock (from inside
// PaintFromBuffer's BeginPaint too). What no monitor shows stays so.
void EraseBackground(DisplayState& display, HWND window, HDC dc);

// The display's views for the monitors now: the window moved over their
// bounds when it covers them; then a monitor with the same rectangle and
// scale as a view keeps that view (its world and picture); a changed one
// takes over a view left over, whose world is renewed at its next tick at
// the new logical size and whose picture is made anew; any other gets a new
// view with a world of its own; views left over go. False when a picture
// of a part that is not empty cannot be made (a huge monitor, little
// memory), which would leave it black for good.
bool LayOutViews(DisplayState& display, HWND window);

// Posted to the window by RequestFollowScreen; its handling runs FollowScreen.
constexpr UINT kFollowScreenMessage = WM_APP + 1;

// Something the picture depends on changed (the monitors, their DPIs): asks
// for one FollowScreen. The first request posts kFollowScreenMessage, and
// later ones join it until it is handled, so a burst of changes is followed
// once, after the input already queued. Should the post fail, it follows at
// once.
void RequestFollowScreen(DisplayState& display, HWND window);

// The display changed: LayOutViews, then the whole window repainted. When
// a picture cannot be made the window is destroyed and the saver ends.
void FollowScreen(DisplayState& display, HWND window);
