#include "wayland/wayland_options.h"

#include "display/display_scale.h"

namespace {

constexpr OptionHelp kFrontEndOptions[] = {
    {"window", nullptr, "Draw in an ordinary window that input does not end, instead of on every output"},
    {"ticks", "0..4294967295", "Stop ticking after this many ticks, keeping the picture up"},
    {"scale", "auto|1|2|3|4", "Device pixels per sprite pixel (default auto: each output's own scale)"},
};

std::string OptionNames() {
    std::string names;
    for (const OptionHelp& option : kFrontEndOptions) {
        names += std::string(names.empty() ? "" : ", ") + "--" + option.name;
    }
    for (const SettingOptionDescription& option : SettingOptions()) {
        names += ", --" + option.name;
    }
    return names + ", --help, --version";
}

}  // namespace

std::string WaylandUsage() {
    return ProgramHelp("quorbel-wayland [options]",
                       "The saver on a Wayland desktop: full screen on every output until a key, a click or a move.",
                       {{"Where to draw", OptionHelpLines(kFrontEndOptions)}});
}

bool ParseWaylandOptions(int argc, const char* const* argv, WaylandOptions* options, std::string* error) {
    WaylandOptions result;
    for (int i = 1; i < argc;) {
        const OptionResult setting = TakeSettingOption(argc, argv, i, result.saver);
        if (setting.status == OptionStatus::Error) {
            *error = setting.message;
            return false;
        }
        if (setting.status == OptionStatus::Consumed) {
            i += setting.used;
            continue;
        }
        const std::optional<OptionSpelling> spelling = SpellOption(argv[i]);
        const std::string name = spelling ? std::string(spelling->name) : std::string();
        if (spelling) {
            if (const auto request = TakeRequestOption(*spelling, error)) {
                result.request = result.request ? result.request : request;
                ++i;
                continue;
            }
            if (!error->empty()) {
                return false;
            }
        }
        if (name == "window") {
            if (spelling->attachedValue) {
                *error = "--window takes no value";
                return false;
            }
            result.window = true;
            ++i;
            continue;
        }
        if (name != "ticks" && name != "scale") {
            *error = "unknown option " + QuotedArgument(argv[i]) + "; accepted: " + OptionNames();
            return false;
        }
        int used = 1;
        const std::string text(OptionValue(argc, argv, i, *spelling, used).value_or(""));
        if (name == "scale") {
            std::string lower = text;
            for (char& c : lower) {
                c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
            }
            const std::optional<uint32_t> scale = lower == "auto" ? 0 : ParseDecimal(text, 1, kMaxDisplayScale);
            if (!scale) {
                *error =
                    "--scale takes auto or 1.." + std::to_string(kMaxDisplayScale) + ", not " + QuotedArgument(text);
                return false;
            }
            result.scale = static_cast<int>(*scale);
        } else {
            result.ticks = ParseDecimal(text, 0, UINT32_MAX);
            if (!result.ticks) {
                *error = "--ticks takes 0..4294967295, not " + QuotedArgument(text);
                return false;
            }
        }
        i += used;
    }
    *options = result;
    return true;
}
