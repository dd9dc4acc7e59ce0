// The saver as a Wayland client: the globals it binds, the outputs and the
// seat, and the loop that waits on the compositor, the stop signals and, for
// --idle, the idle source. A showing (a SaverSurface with its world on every
// output or one window, the seat's devices, the sheet in colours) is made
// when the saver is to be seen and dropped when input ends it: the waiter
// holds none of it while it waits, and then no timer runs.
#pragma once

#include <functional>
#include <string>

#include "saver_program/stop_signals_posix.h"
#include "wayland/wayland_options.h"

struct ClientEnd {
    int exitCode;         // 0: asked to end; 1: the compositor failed it
    std::string message;  // for exit code 1
};

// The options of a showing, asked for as each showing starts, so that a
// changed setting counts from the next one.
using ShowingOptions = std::function<WaylandOptions()>;

// Connects to the compositor WAYLAND_DISPLAY names. Without --idle it shows
// at once and runs until input, the compositor closing a surface or a stop
// signal ends it. With --idle it shows each time the session has been idle
// that long, until a stop signal or the compositor going away (the session
// ending: exit code 0, no message); no idle source is exit code 1.
ClientEnd RunWaylandSaver(const WaylandOptions& options, const ShowingOptions& showingOptions,
                          const StopSignals& signals);

// Keeps libwayland's own messages off standard error; the last one is kept
// for ours.
void QuietenWaylandLog();
