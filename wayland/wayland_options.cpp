#include "wayland/wayland_options.h"

#include <iterator>

namespace {

constexpr OptionHelp kFrontEndOptions[] = {
    {"idle", "1..86400",
     "Wait this many seconds without input, show the saver, and wait again, until the session ends"},
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
        {{"When and where to draw", OptionHelpLines(kFrontEndOptions)}});
}

bool ParseWaylandOptions(int argc, const char* const* argv, WaylandOptions* options, std::string* error) {
    std::optional<uint32_t> idle;
    const FrontEndOption takeIdle = [&idle](int count, const char* const* args, int index,
                                            const OptionSpelling& spelling, SaverProgramOptions&) -> OptionResult {
        if (spelling.name != "idle") {
            return {OptionStatus::NotMine, 0, {}};
        }
        int used = 1;
        const std::string text(OptionValue(count, args, index, spelling, used).value_or(""));
        idle = ParseDecimal(text, 1, kMaxIdleSeconds);
        if (!idle) {
            return {OptionStatus::Error, 0,
                    "--idle takes 1.." + std::to_string(kMaxIdleSeconds) + " seconds, not " + QuotedArgument(text)};
        }
        return {OptionStatus::Consumed, used, {}};
    };
    WaylandOptions result;
    if (!ParseSaverProgramOptions(argc, argv, kFrontEndOptions, std::size(kFrontEndOptions), takeIdle, &result,
                                  error)) {
        return false;
    }
    if (idle && result.window) {
        // A window that input does not end would be shown once and for good.
        *error = "--idle shows the saver on every output; it does not go with --window";
        return false;
    }
    result.idleSeconds = idle;
    *options = result;
    return true;
}
