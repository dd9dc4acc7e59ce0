#include "wayland/wayland_options.h"

#include <iterator>

namespace {

constexpr OptionHelp kFrontEndOptions[] = {
    WindowOptionHelp("Draw in an ordinary window that input does not end, instead of on every output"),
    TicksOptionHelp(),
    ScaleOptionHelp("Device pixels per sprite pixel (default auto: each output's own scale)"),
};

}  // namespace

std::string WaylandUsage() {
    return ProgramHelp(
        "quorbel-wayland [options]",
        "The saver on a Wayland desktop: above every window on each output (full screen where no overlay is "
        "offered) until a key, a click or a move.",
        {{"Where to draw", OptionHelpLines(kFrontEndOptions)}});
}

bool ParseWaylandOptions(int argc, const char* const* argv, WaylandOptions* options, std::string* error) {
    return ParseSaverProgramOptions(argc, argv, kFrontEndOptions, std::size(kFrontEndOptions), {}, options, error);
}
