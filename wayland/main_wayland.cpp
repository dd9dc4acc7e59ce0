// quorbel-wayland: the saver on every output of a Wayland desktop, as an
// overlay or as full-screen windows. Exit codes: 0 when input, the
// compositor or a stop signal ends it; 1 when there is no compositor or it
// fails the saver; 2 for a bad option.
#include <cstdio>
#include <string>

#include "saver_program/stop_signals_posix.h"
#include "wayland/saver_client_wayland.h"
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
    QuietenWaylandLog();
    // Before connecting, so that an early SIGTERM also ends cleanly.
    StopSignals signals;
    if (!signals.install(&error)) {
        return Fail(error, 1);
    }
    const ClientEnd end = RunWaylandSaver(options, signals);
    return end.exitCode == 0 ? 0 : Fail(end.message, end.exitCode);
}
