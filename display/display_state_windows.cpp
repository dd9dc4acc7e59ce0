#include "display/display_state_windows.h"

void DisplayState::tick() { RunTick(*this, window); }

void RunTick(DisplayState& display, HWND window) {
    if (display.beforeTick) {
        display.beforeTick();
    }
    display.paintDC = GetDC(window);
    SelectPalette(display.paintDC, display.sheetPalette, FALSE);
    RealizePalette(display.paintDC);
    display.target.beginTick(window, display.paintDC, display.sheetBitmap);
    display.saver.tick(display.target);
    display.target.endTick();
    ReleaseDC(window, display.paintDC);
    display.paintDC = nullptr;
}
