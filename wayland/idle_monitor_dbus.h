// GNOME's idle time as an idle source. mutter offers no idle protocol; it
// tells the idle time on the session bus instead, as
// org.gnome.Mutter.IdleMonitor: one idle watch is asked for, and each
// WatchFired signal for it says the session has been idle that long. While
// org.gnome.SessionManager's InhibitedActions holds idle, mutter fires no
// watch, and the idle time starts again when the inhibition ends.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "wayland/idle_source.h"

// Null when there is no session bus or no idle monitor on it (*error left
// empty), or when the monitor refused (*error says why).
std::unique_ptr<IdleSource> WatchMutterIdle(uint32_t milliseconds, std::string* error);
