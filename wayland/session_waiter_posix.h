// The session's idle waiter, as --enable and --remove handle it: found
// through its lock in $XDG_RUNTIME_DIR, ended, and started apart from the
// terminal.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>

// Whether the session is sway's (which reads no autostart folder).
bool SwaySession();

// The session's waiter lock; empty outside a Wayland session (or with
// XDG_RUNTIME_DIR unset or relative).
std::string SessionLock();

// The session's running waiter ended; its process id, or nothing when none
// ran (or, with error, it would not end).
std::optional<pid_t> StopWaiter(const std::string& lock, std::string* error);

// "program --idle SECONDS" (this program, under that name) in a session of
// its own, so that closing the terminal does not end it, reading nothing
// from it and writing nothing to it; its process id once it holds the lock,
// waited for up to about ten seconds.
std::optional<pid_t> StartWaiter(const char* program, uint32_t seconds, const std::string& lock, std::string* error);
