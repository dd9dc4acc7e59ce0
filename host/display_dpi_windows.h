// The DPI the system reports, for choosing the display scale. Every
// per-monitor function is looked up by name: GetDpiForWindow exists from
// Windows 10, GetDpiForMonitor (shcore) from 8.1 and the monitor functions
// from 98 and 2000, and importing any of them would keep the program from
// loading on the systems before. Without them, the screen's LOGPIXELSX.
#pragma once

#include <windows.h>

// The primary monitor's DPI: the full-screen window spans every monitor,
// and the primary one is where the user set the scaling first.
int PrimaryMonitorDpi(HWND window);

// The DPI reported for window (a preview's): its own, else its monitor's.
int WindowDpi(HWND window);
