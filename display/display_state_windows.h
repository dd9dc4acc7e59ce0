// The display's handles, each empty until it is made.
#pragma once

#include <windows.h>

struct DisplayState {
    HRSRC sheetInfo;        // FindResourceA's answer for LIFE9DIB
    HGLOBAL sheetResource;  // the loaded sheet; its bytes stay readable until EndDisplay
    HBITMAP sheetBitmap;    // device bitmap made from the sheet
    HPALETTE sheetPalette;  // 256-entry palette from the sheet's colour table
    HDC paintDC;            // the window's DC during one tick, null between ticks
    HANDLE animationThread;
    HANDLE wakeEvent;  // auto-reset; signalled once, to stop the thread
};

extern DisplayState displayState;
