// The DPI the system reports, for choosing the display scale. Every
// per-monitor function is looked up by name: GetDpiForWindow exists from
// Windows 10, GetDpiForMonitor (shcore) from 8.1 and the monitor functions
// from 98 and 2000, and importing any of them would keep the program from
// loading on the systems before. Without them, the screen's LOGPIXELSX.
#pragma once

#include <windows.h>

// The primary monitor's DPI.
int PrimaryMonitorDpi();

// monitor's DPI, else the screen's.
int DpiOfMonitor(HMONITOR monitor);

// The DPI reported for window (a preview's): its own, else its monitor's.
int WindowDpi(HWND window);
