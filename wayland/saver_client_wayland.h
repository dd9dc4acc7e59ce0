// The saver as a Wayland client: the globals it binds, a SaverSurface for
// every output (or one window), the seat, and the loop that ticks each
// surface's world when it is due and otherwise waits on the compositor and
// the stop signals.
#pragma once

#include <string>

#include "saver_program/stop_signals_posix.h"
#include "wayland/wayland_options.h"

struct ClientEnd {
    int exitCode;         // 0: asked to end; 1: the compositor failed it
    std::string message;  // for exit code 1
};

// Connects to the compositor WAYLAND_DISPLAY names and runs until input,
// the compositor closing a surface or a stop signal ends it.
ClientEnd RunWaylandSaver(const WaylandOptions& options, const StopSignals& signals);

// Keeps libwayland's own messages off standard error; the last one is kept
// for ours.
void QuietenWaylandLog();
