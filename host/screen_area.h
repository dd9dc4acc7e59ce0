// Where a full-screen saver goes: over every monitor where the system
// reports a virtual screen, else over the primary screen; and each
// monitor's part of it.
#pragma once

#include <cstdint>
#include <vector>

struct ScreenRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// What the system reports: the virtual screen, the bounding box of all
// monitors (SM_XVIRTUALSCREEN .. SM_CYVIRTUALSCREEN, all 0 on Windows 95 and
// NT 4, which have no such thing), and the primary screen's size, whose top
// left corner is always the origin.
struct ScreenMetrics {
    ScreenRect virtualScreen;
    int32_t primaryWidth = 0;
    int32_t primaryHeight = 0;
};

// The virtual screen when it is reported and holds the primary screen, as
// every real one does; otherwise the primary screen.
ScreenRect FullScreenArea(const ScreenMetrics& metrics);

// One monitor as the system reports it, in screen coordinates, with the DPI
// its picture is scaled for.
struct Monitor {
    ScreenRect area;
    int dpi = 96;
};
using MonitorList = std::vector<Monitor>;

// The smallest rectangle holding every monitor (0 x 0 for none).
ScreenRect Bounds(const MonitorList& monitors);

// monitor's part of a client area placed on the screen at client, in that
// client area's own coordinates; 0 x 0 where they do not meet.
ScreenRect PartInClient(const ScreenRect& monitor, const ScreenRect& client);
