// One idle waiter a session. A session is one compositor, so the lock is a
// file in the user's runtime folder named for WAYLAND_DISPLAY (one user may
// run several compositors): the waiter holds it with flock() for its whole
// life, with its process id in it as text. Portable: the name only.
#pragma once

#include <string>

// <runtimeDir>/quorbel-wayland-idle-<waylandDisplay>.lock; a '/' in the
// display name (an absolute socket path) is written as '_'.
std::string IdleLockPath(const std::string& runtimeDir, const std::string& waylandDisplay);
