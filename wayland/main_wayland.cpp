// quorbel-wayland: the saver on every output of a Wayland desktop, as an
// overlay or as full-screen windows, with the user's settings file under the
// command line's options: at once or, with --idle, each time the session is
// idle; --enable and --remove set it up to start on idle. Exit codes: 0 when
// input, the compositor or a stop signal ends it (and for --idle outside a
// Wayland session); 1 when there is no compositor or it fails the saver,
// another waiter serves the session, or --enable or --remove refuses; 2 for a
// bad option.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "saver_program/stop_signals_posix.h"
#include "wayland/idle_lock_posix.h"
#include "wayland/saver_client_wayland.h"
#include "wayland/saver_setup_posix.h"
#include "wayland/session_waiter_posix.h"
#include "wayland/wayland_options.h"

namespace {

int Fail(const std::string& message, int code) {
    std::fprintf(stderr, "quorbel-wayland: %s\n", message.c_str());
    return code;
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
    if (options.setup) {
        return *options.setup == SetupRequest::Enable ? EnableSaver(options, argc, argv) : RemoveSaver();
    }
    // The command line checked on its own above, so that its faults are not
    // blamed on the settings file; the waiter reads the file at each showing.
    if (!options.idle && !OptionsOverSettingsFile(argc, argv, &options, &error)) {
        return Fail(error, 2);
    }
    // Before the lock and the connection, so that an early SIGTERM also
    // ends cleanly.
    StopSignals signals;
    if (!signals.install(&error)) {
        return Fail(error, 1);
    }
    std::unique_ptr<IdleLock> lock;
    if (options.idle) {
        // Empty outside a Wayland session: a login entry run under X11,
        // where XScreenSaver serves.
        const std::string lockPath = SessionLock();
        if (lockPath.empty()) {
            if (!std::getenv("WAYLAND_DISPLAY")) {
                return 0;
            }
            return Fail("XDG_RUNTIME_DIR is not set or not an absolute path, so the session's waiter cannot be found",
                        1);
        }
        std::optional<pid_t> holder;
        lock = IdleLock::Take(lockPath, &holder, &error);
        if (holder) {
            return Fail("a waiter is already running for " + std::string(std::getenv("WAYLAND_DISPLAY")) +
                            (*holder != 0 ? " (process " + std::to_string(*holder) + ")" : std::string()),
                        1);
        }
        if (!lock) {
            return Fail(error, 1);
        }
        // The idle time is read once; the settings at each showing, so that
        // an edit of the file counts from the next one.
        options.idleSeconds = options.idleSeconds.value_or(SettingsFileIdleSeconds());
    }
    QuietenWaylandLog();
    const ShowingOptions showingOptions = [&]() {
        WaylandOptions showing = options;
        std::string ignored;  // the command line parsed well above
        if (options.idle) {
            OptionsOverSettingsFile(argc, argv, &showing, &ignored);
        }
        return showing;
    };
    const ClientEnd end = RunWaylandSaver(options, showingOptions, signals);
    return end.exitCode == 0 ? 0 : Fail(end.message, end.exitCode);
}
