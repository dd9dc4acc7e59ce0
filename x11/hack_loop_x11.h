// The saver's life on an X window: a tick whenever the tick delay has
// passed, and in between, at once, whatever the X server or a signal says.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "display/saver.h"
#include "saver_program/stop_signals_posix.h"
#include "x11/hack_window_x11.h"
#include "x11/window_painter_x11.h"
#include "x11/x_connection_x11.h"

struct HackLoopEnd {
    int exitCode;         // 0: asked to end; 1: an X error
    std::string message;  // for exit code 1
    bool windowGone;      // someone else destroyed the window
};

// Runs the started saver until a stop signal, WM_DELETE_WINDOW on our own
// window, the window's destruction or an X error. After `ticks` ticks (when
// given) it stops ticking and only keeps the picture up. The saver works in
// logical pixels, each scale x scale device pixels of the painter's (whose
// sheet is enlarged as much).
HackLoopEnd RunHackLoop(XConnection& connection, HackWindow& window, WindowPainter& painter, int scale, Saver& saver,
                        const StopSignals& signals, std::optional<uint64_t> ticks);
