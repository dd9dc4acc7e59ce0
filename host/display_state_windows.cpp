#include "host/display_state_windows.h"

#include <algorithm>

#include "display/display_scale.h"

namespace {

// With no view to tick the thread only looks again now and then.
constexpr uint16_t kIdleWait = 1000;

ScreenRect ClientOnScreen(HWND window) {
    const ClientSize size = ClientSizeOf(window);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    return {origin.x, origin.y, size.width, size.height};
}

MonitorList MonitorsNow(const DisplayState& display, HWND window) {
    if (display.monitors) {
        return display.monitors(window);
    }
    return {{ClientOnScreen(window), 96}};
}

bool SameRect(const ScreenRect& a, const ScreenRect& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

void PlaceOver(HWND window, const ScreenRect& area) {
    RECT now{};
    GetWindowRect(window, &now);
    if (!SameRect(area, {now.left, now.top, now.right - now.left, now.bottom - now.top})) {
        SetWindowPos(window, nullptr, area.left, area.top, area.width, area.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

ClientSize SizeOf(const ScreenRect& r) { return {r.width, r.height}; }

// A buffer holding the sheet's sprites at scale, among the views: one copy
// for each scale in use.
const BackBuffer* SpritesAt(int scale, const std::vector<std::unique_ptr<MonitorView>>& placed,
                            const std::vector<std::unique_ptr<MonitorView>>& before) {
    for (const auto* views : {&placed, &before}) {
        for (const auto& view : *views) {
            if (view && view->buffer.sprites() && view->buffer.spriteScale() == scale) {
                return &view->buffer;
            }
        }
    }
    return nullptr;
}

// The display's lock is held; the window's DC is paintDC.
void TickView(DisplayState& display, MonitorView& view, bool* shown) {
    display.target.beginTick(display.paintDC, view.buffer);
    if (view.scale > 1) {
        ScaledTarget scaled(display.target, view.scale);
        view.saver.tick(scaled);
    } else {
        view.saver.tick(display.target);
    }
    *shown |= display.target.endTick();
    const auto now = display.clock.now();
    if (view.pacer) {
        view.pacer->ticked(view.saver.tickDelay(), now);
    } else {
        view.pacer.emplace(now, view.saver.tickDelay());
    }
}

bool Due(DisplayState& display, const MonitorView& view) { return view.pacer && view.pacer->due(display.clock.now()); }

// Ticks the views that are due (all with every), in one hand-over.
void TickViews(DisplayState& display, HWND window, bool every) {
    if (display.beforeTick) {
        display.beforeTick();
    }
    DisplayLock lock(display);
    display.paintDC = GetDC(window);
    SelectPalette(display.paintDC, display.sheet.palette, FALSE);
    RealizePalette(display.paintDC);
    bool shown = false;
    for (auto& view : display.views) {
        if (every || Due(display, *view)) {
            TickView(display, *view, &shown);
        }
    }
    if (shown) {
        HandDrawingToScreen();
    }
    ReleaseDC(window, display.paintDC);
    display.paintDC = nullptr;
}

}  // namespace

DisplayState::DisplayState() { InitializeCriticalSection(&guard); }

DisplayState::~DisplayState() {
    views.clear();
    DeleteCriticalSection(&guard);
}

uint16_t DisplayState::tickDelay() {
    DisplayLock lock(*this);
    const auto now = clock.now();
    int soonest = UINT16_MAX;
    bool paced = false;
    for (const auto& view : views) {
        if (view->pacer) {
            soonest = std::min(soonest, view->pacer->millisecondsUntilDue(now));
            paced = true;
        }
    }
    return static_cast<uint16_t>(paced ? soonest : kIdleWait);
}

void DisplayState::tick() {
    bool due = false;
    {
        DisplayLock lock(*this);
        for (const auto& view : views) {
            due |= Due(*this, *view);
        }
    }
    // A wake with nothing due (no view yet) neither ticks nor draws.
    if (due) {
        TickViews(*this, window, false);
    }
}

MonitorView& AddView(DisplayState& display, const ScreenRect& part, int scale) {
    DisplayLock lock(display);
    display.views.push_back(std::make_unique<MonitorView>());
    MonitorView& view = *display.views.back();
    view.part = part;
    view.scale = scale;
    view.buffer.placeAt(part.left, part.top);
    return view;
}

void StartPacing(DisplayState& display, MonitorView& view) {
    DisplayLock lock(display);
    view.pacer.emplace(display.clock.now(), view.saver.tickDelay());
}

void RunTick(DisplayState& display, HWND window) { TickViews(display, window, true); }

void PaintFromBuffer(DisplayState& display, HWND window) {
    // BeginPaint clips the window's own DC, which a tick shares, to the
    // update region until EndPaint: no tick may draw in between.
    DisplayLock lock(display);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (!dc) {
        return;
    }
    SelectPalette(dc, display.sheet.palette, FALSE);
    RealizePalette(dc);
    const RECT& area = paint.rcPaint;
    for (const auto& view : display.views) {
        const ScreenRect& part = view->part;
        const PaintRect inView{area.left - part.left, area.top - part.top, area.right - part.left,
                               area.bottom - part.top};
        PaintRect clipped{};
        if (ClipToClient(inView, SizeOf(part), &clipped)) {
            view->buffer.repaint(dc, clipped);
        }
    }
    EndPaint(window, &paint);
}

void EraseBackground(DisplayState& display, HWND window, HDC dc) {
    DisplayLock lock(display);
    FillClientBlack(window, dc);
}

bool LayOutViews(DisplayState& display, HWND window) {
    const MonitorList monitors = MonitorsNow(display, window);
    DisplayLock lock(display);
    if (display.coversMonitors) {
        PlaceOver(window, Bounds(monitors));
    }
    const ScreenRect client = ClientOnScreen(window);
    std::vector<std::unique_ptr<MonitorView>> before = std::move(display.views);
    display.views.clear();
    std::vector<std::unique_ptr<MonitorView>> placed(monitors.size());

    // A monitor as it was keeps its view, world and picture.
    for (size_t i = 0; i < monitors.size(); ++i) {
        const ScreenRect part = PartInClient(monitors[i].area, client);
        const int scale = ScaleForDpi(monitors[i].dpi);
        for (auto& view : before) {
            if (view && SameRect(view->monitor, monitors[i].area) && view->scale == scale &&
                view->part.width == part.width && view->part.height == part.height) {
                view->part = part;
                view->buffer.placeAt(part.left, part.top);
                placed[i] = std::move(view);
                break;
            }
        }
    }

    bool made = true;
    auto unused = before.begin();
    for (size_t i = 0; i < monitors.size(); ++i) {
        const ScreenRect part = PartInClient(monitors[i].area, client);
        if (placed[i] || part.width == 0) {
            continue;
        }
        const int scale = ScaleForDpi(monitors[i].dpi);
        const ClientSize logical = LogicalSize(SizeOf(part), scale);
        unused = std::find_if(unused, before.end(), [](const auto& view) { return view != nullptr; });
        if (unused != before.end()) {
            // A changed monitor: the same saver, a new world at its next tick.
            placed[i] = std::move(*unused);
            placed[i]->saver.resize(logical);
        } else {
            placed[i] = std::make_unique<MonitorView>();
            Saver& saver = placed[i]->saver;
            saver.prepare(display.settings, display.nextSeed ? display.nextSeed : display.seed);
            display.nextSeed = saver.seed() + 1;
            saver.startWorld(logical);
            StartPacing(display, *placed[i]);
        }
        MonitorView& view = *placed[i];
        view.monitor = monitors[i].area;
        view.part = part;
        view.scale = scale;
        made = view.buffer.create(SizeOf(part), display.sheet, scale, SpritesAt(scale, placed, before)) && made;
        view.buffer.placeAt(part.left, part.top);
    }
    for (auto& view : placed) {
        if (view) {
            display.views.push_back(std::move(view));
        }
    }
    return made;
}

void FollowScreen(DisplayState& display, HWND window) {
    if (!LayOutViews(display, window)) {
        DestroyWindow(window);
        return;
    }
    InvalidateRect(window, nullptr, TRUE);
}

void RequestFollowScreen(DisplayState& display, HWND window) {
    if (display.followRequested) {
        return;
    }
    display.followRequested = PostMessageA(window, kFollowScreenMessage, 0, 0) != FALSE;
    if (!display.followRequested) {
        FollowScreen(display, window);
    }
}
