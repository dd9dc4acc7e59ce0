// quorbel-wayland: the saver on every output of a Wayland desktop, as an
// overlay or as full-screen windows, at once or, with --idle, each time the
// session is idle. Exit codes: 0 when input, the compositor or a stop signal
// ends it (and for --idle outside a Wayland session); 1 when there is no
// compositor or it fails the saver, or another waiter serves the session; 2
// for a bad option.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "saver_program/stop_signals_posix.h"
#include "wayland/idle_lock.h"
#include "wayland/idle_lock_posix.h"
#include "wayland/saver_client_wayland.h"
#include "wayland/wayland_options.h"

namespace {

int Fail(const std::string& message, int code) {
    std::fprintf(stderr, "quorbel-wayland: %s\n", message.c_str());
    return code;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

int main(int argc, char** argv) {
    WaylandOptions options;
    std::string error;
    if (!ParseWaylandOptions(argc, argv, &options, &error)) {
        return Fail(error, 2);
    }
    if (options.request) {
        return AnswerRequest(*options.request, WaylandUsage(), "quorbel-wayland");
    }
    // Before the lock and the connection, so that an early SIGTERM also
    // ends cleanly.
    StopSignals signals;
    if (!signals.install(&error)) {
        return Fail(error, 1);
    }
    std::unique_ptr<IdleLock> lock;
    if (options.idleSeconds) {
        // A login entry run under Xorg, where XScreenSaver serves.
        const std::string display = Environment("WAYLAND_DISPLAY");
        if (display.empty()) {
            return 0;
        }
        const std::string runtimeDir = Environment("XDG_RUNTIME_DIR");
        if (runtimeDir.empty()) {
            return Fail("XDG_RUNTIME_DIR is not set, so the session's waiter cannot be found", 1);
        }
        std::optional<pid_t> holder;
        lock = IdleLock::Take(IdleLockPath(runtimeDir, display), &holder, &error);
        if (holder) {
            return Fail("a waiter is already running for " + display +
                            (*holder != 0 ? " (process " + std::to_string(*holder) + ")" : std::string()),
                        1);
        }
        if (!lock) {
            return Fail(error, 1);
        }
    }
    QuietenWaylandLog();
    // The settings of each showing: today the command line's.
    const ClientEnd end = RunWaylandSaver(
        options, [&options] { return options; }, signals);
    return end.exitCode == 0 ? 0 : Fail(end.message, end.exitCode);
}
