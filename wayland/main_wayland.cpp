// quorbel-wayland: the saver on every output of a Wayland desktop, as an
// overlay or as full-screen windows, with the user's settings file under the
// command line's options; --enable and --remove set it up to start on idle.
// Exit codes: 0 when input, the compositor or a stop signal ends it; 1 when
// there is no compositor or it fails the saver, or --enable or --remove
// refuses; 2 for a bad option.
#include <cstdio>
#include <string>

#include "saver_program/stop_signals_posix.h"
#include "wayland/saver_client_wayland.h"
#include "wayland/saver_setup_posix.h"
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
    // blamed on the settings file.
    if (!OptionsOverSettingsFile(argc, argv, &options, &error)) {
        return Fail(error, 2);
    }
    QuietenWaylandLog();
    // Before connecting, so that an early SIGTERM also ends cleanly.
    StopSignals signals;
    if (!signals.install(&error)) {
        return Fail(error, 1);
    }
    const ClientEnd end = RunWaylandSaver(options, signals);
    return end.exitCode == 0 ? 0 : Fail(end.message, end.exitCode);
}
