#include "wayland/wayland_options.h"

#include <iterator>
#include <utility>

namespace {

constexpr OptionHelp kFrontEndOptions[] = {
    WindowOptionHelp("Draw in an ordinary window that input does not end, instead of on every output"),
    TicksOptionHelp(),
    ScaleOptionHelp("Device pixels per sprite pixel (default auto: each output's own scale)"),
    // The last kSetupRows rows: the saver on idle, and setting it up.
    {"idle", "[SECONDS]",
     "Wait for SECONDS (default: the settings file's, else 300) without input, show the saver, and wait again, "
     "until the session ends"},
    {"enable", "[SECONDS]",
     "Show the saver after SECONDS (default 300) without input, from now and at every login, with the settings "
     "options given"},
    {"remove", nullptr, "Undo --enable: stop the saver waiting and take away what --enable made"},
};
constexpr size_t kSetupRows = 3;
constexpr size_t kShowingRows = std::size(kFrontEndOptions) - kSetupRows;

OptionResult Refused(std::string message) { return {OptionStatus::Error, 0, std::move(message)}; }

// The optional SECONDS of --idle or --enable into *seconds: left out, the
// next argument, if any, is an option.
OptionResult TakeSeconds(int argc, const char* const* argv, int index, const OptionSpelling& spelling,
                         std::optional<uint32_t>* seconds) {
    const bool next = !spelling.attachedValue && index + 1 < argc && argv[index + 1][0] != '-';
    if (!spelling.attachedValue && !next) {
        return {OptionStatus::Consumed, 1, {}};
    }
    int used = 1;
    const std::string text(OptionValue(argc, argv, index, spelling, used).value_or(""));
    *seconds = ParseDecimal(text, 1, kMaxIdleSeconds);
    if (!*seconds) {
        return Refused("--" + std::string(spelling.name) + " takes 1.." + std::to_string(kMaxIdleSeconds) +
                       " seconds, not " + QuotedArgument(text));
    }
    return {OptionStatus::Consumed, used, {}};
}

// --idle [SECONDS], --enable [SECONDS] or --remove.
OptionResult TakeSetupOption(int argc, const char* const* argv, int index, const OptionSpelling& spelling,
                             WaylandOptions& options) {
    if (spelling.name == "idle") {
        options.idle = true;
        return TakeSeconds(argc, argv, index, spelling, &options.idleSeconds);
    }
    const std::optional<SetupRequest> setup = spelling.name == "enable"   ? SetupRequest::Enable
                                              : spelling.name == "remove" ? SetupRequest::Remove
                                                                          : std::optional<SetupRequest>();
    if (!setup) {
        return {OptionStatus::NotMine, 0, {}};
    }
    if (options.setup && options.setup != setup) {
        return Refused("--enable and --remove do not go together");
    }
    options.setup = setup;
    if (*setup == SetupRequest::Remove) {
        const std::string error = AttachedValueError(spelling);
        return error.empty() ? OptionResult{OptionStatus::Consumed, 1, {}} : Refused(error);
    }
    return TakeSeconds(argc, argv, index, spelling, &options.enableSeconds);
}

}  // namespace

std::vector<SettingLine> GivenSettingOptions(int argc, const char* const* argv) {
    std::vector<SettingLine> lines;
    for (int i = 1; i < argc;) {
        SaverOptions scratch;
        const OptionResult taken = TakeSettingOption(argc, argv, i, scratch);
        if (taken.status != OptionStatus::Consumed) {
            ++i;
            continue;
        }
        const std::optional<OptionSpelling> spelling = SpellOption(argv[i]);
        lines.emplace_back(std::string(spelling->name),
                           std::string(spelling->attachedValue ? *spelling->attachedValue : argv[i + 1]));
        i += taken.used;
    }
    return lines;
}

std::string WaylandUsage() {
    return ProgramHelp(
        "quorbel-wayland [options]",
        "The saver on a Wayland desktop: above every window on each output (full screen where no overlay is "
        "offered) until a key, a click or a move.",
        {{"Where to draw", OptionHelpLines(kFrontEndOptions, kShowingRows)},
         {"Starting by itself", OptionHelpLines(kFrontEndOptions + kShowingRows, kSetupRows)}});
}

bool ParseWaylandOptions(int argc, const char* const* argv, WaylandOptions* options, std::string* error) {
    WaylandOptions result;
    const FrontEndOption takeSetup = [&result](int count, const char* const* args, int index,
                                               const OptionSpelling& spelling, SaverProgramOptions&) {
        return TakeSetupOption(count, args, index, spelling, result);
    };
    SaverProgramOptions shared;
    if (!ParseSaverProgramOptions(argc, argv, kFrontEndOptions, std::size(kFrontEndOptions), takeSetup, &shared,
                                  error)) {
        return false;
    }
    static_cast<SaverProgramOptions&>(result) = shared;
    // Set up is the saver on idle with the settings; where and how long it
    // draws is the showing's.
    if (result.setup && (result.window || result.ticks || result.scale != 0)) {
        *error = "--enable and --remove take no --window, --ticks or --scale";
        return false;
    }
    if (result.setup == SetupRequest::Remove && !GivenSettingOptions(argc, argv).empty()) {
        *error = "--remove takes no settings options";
        return false;
    }
    if (result.idle && (result.setup || result.window)) {
        // A window that input does not end would be shown once and for good.
        *error = "--idle shows the saver on every output; it does not go with --window, --enable or --remove";
        return false;
    }
    *options = result;
    return true;
}
