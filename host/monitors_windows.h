// The monitors a saver window shows its worlds on, as the system reports
// them. EnumDisplayMonitors and GetMonitorInfoA are looked up by name:
// Windows 95 and NT 4 lack them, and importing them would keep the program
// from loading there.
#pragma once

#include <windows.h>

#include "host/screen_area.h"

// Every monitor at its own DPI, the primary one first. Where the system
// cannot list them, one: the full-screen area (FullScreenArea) at the
// primary monitor's DPI.
MonitorList SystemMonitors(HWND window);

// A preview's one monitor: its window's client area on the screen, at the
// window's DPI.
MonitorList PreviewMonitors(HWND window);
