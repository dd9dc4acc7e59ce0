// Every wait of the saver on the compositor: what libwayland holds is
// written first, a full socket is waited out rather than failing the
// connection, and a stop signal ends the wait, also while connecting to a
// compositor that never answers.
#pragma once

#include <poll.h>
#include <wayland-client.h>

enum class Waited { Dispatched, Stopped, Failed };

// Dispatches the events already queued; with none, writes what libwayland
// holds, then waits up to timeout ms (-1: no limit) for events, room in the
// socket, a signal on stopFd or, when given, what `also` asks for (its
// revents say what came), and dispatches what came. While the socket is
// full the wait has no limit: the compositor must read first.
Waited WaitOnCompositor(wl_display* display, int stopFd, int timeout, pollfd* also = nullptr);

// Everything libwayland holds is written, so that a tick's requests fit in
// its buffer; false while the socket is full or once the connection failed.
bool AllWritten(wl_display* display);

// A round trip, ended by a signal on stopFd too; Dispatched once answered.
Waited RoundTrip(wl_display* display, int stopFd);
