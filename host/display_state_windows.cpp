#include "host/display_state_windows.h"

#include "display/display_scale.h"

void DisplayState::tick() { RunTick(*this, window); }

void RunTick(DisplayState& display, HWND window) {
    if (display.beforeTick) {
        display.beforeTick();
    }
    BackBufferLock lock(display.buffer);
    display.paintDC = GetDC(window);
    SelectPalette(display.paintDC, display.sheet.palette, FALSE);
    RealizePalette(display.paintDC);
    display.target.beginTick(window, display.paintDC, display.buffer);
    if (display.scale > 1) {
        ScaledTarget scaled(display.target, display.scale);
        display.saver.tick(scaled);
    } else {
        display.saver.tick(display.target);
    }
    display.target.endTick();
    ReleaseDC(window, display.paintDC);
    display.paintDC = nullptr;
}

void PaintFromBuffer(DisplayState& display, HWND window) {
    // BeginPaint clips the window's own DC, which a tick shares, to the
    // update region until EndPaint: no tick may draw in between.
    BackBufferLock lock(display.buffer);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (!dc) {
        return;
    }
    SelectPalette(dc, display.sheet.palette, FALSE);
    RealizePalette(dc);
    const RECT& area = paint.rcPaint;
    display.buffer.repaint(dc, {area.left, area.top, area.right, area.bottom});
    EndPaint(window, &paint);
}

void EraseBackground(DisplayState& display, HWND window, HDC dc) {
    BackBufferLock lock(display.buffer);
    FillClientBlack(window, dc);
}

int ScaleOf(const DisplayState& display, HWND window) { return display.dpiOf ? ScaleForDpi(display.dpiOf(window)) : 1; }

bool MakePictureBuffer(DisplayState& display, ClientSize client) {
    return display.buffer.create(client, display.sheet, display.scale) || client.width <= 0 || client.height <= 0;
}

void FollowScreen(DisplayState& display, HWND window) {
    const ScreenRect area = display.fullScreenArea();
    bool made = true;
    {
        BackBufferLock lock(display.buffer);
        SetWindowPos(window, nullptr, area.left, area.top, area.width, area.height, SWP_NOZORDER | SWP_NOACTIVATE);
        const ClientSize client = ClientSizeOf(window);
        display.scale = ScaleOf(display, window);
        made = MakePictureBuffer(display, client);
        display.saver.resize(LogicalSize(client, display.scale));
    }
    if (!made) {
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
