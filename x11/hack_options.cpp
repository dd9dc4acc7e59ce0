#include "x11/hack_options.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "display/display_scale.h"
#include "settings/settings_codec.h"

namespace {

// Where to draw and for how long, as the help lists them.
constexpr OptionHelp kFrontEndOptions[] = {
    {"root", nullptr, "Draw on the root window (XScreenSaver's virtual root)"},
    {"window", nullptr, "Draw in a window of its own (default)"},
    {"window-id", "ID", "Draw in window ID, decimal or 0x-hex"},
    {"display", "NAME", "X display (default $DISPLAY)"},
    {"ticks", "0..4294967295", "Stop ticking after this many ticks, keeping the picture up"},
    {"scale", "auto|1|2|3|4", "Device pixels per sprite pixel (default auto: from the display's DPI)"},
};

// The option names the usage text lists, in its order: "--root, --window, ...".
std::string OptionNames() {
    std::istringstream usage(HackUsage());
    std::string names;
    std::string line;
    while (std::getline(usage, line)) {
        const size_t start = line.find("--");
        if (line.rfind("  -", 0) != 0 || start == std::string::npos) {
            continue;
        }
        const size_t end = line.find(' ', start);
        names += (names.empty() ? "" : ", ") + line.substr(start, end - start);
    }
    return names;
}

std::string Trimmed(const std::string& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && std::isspace(static_cast<unsigned char>(text[first]))) {
        ++first;
    }
    while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1]))) {
        --last;
    }
    return text.substr(first, last - first);
}

bool Flag(const OptionSpelling& spelling, std::string* error) {
    if (spelling.attachedValue) {
        *error = "--" + std::string(spelling.name) + " takes no value";
        return false;
    }
    return true;
}

}  // namespace

std::optional<unsigned long> ParseWindowId(const std::string& text) {
    const std::string digits = Trimmed(text);
    std::optional<uint32_t> value;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        const std::string hex = digits.substr(2);
        if (hex.size() <= 8 && hex.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos) {
            value = static_cast<uint32_t>(std::stoul(hex, nullptr, 16));
        }
    } else {
        value = ParseDecimal(digits, 0, UINT32_MAX);
    }
    if (!value || *value == 0) {
        return std::nullopt;
    }
    return *value;
}

std::string HackUsage() {
    return ProgramHelp("quorbel [options]", "The saver as an XScreenSaver hack, or in a window of its own.",
                       {{"Where to draw", OptionHelpLines(kFrontEndOptions)}});
}

bool ParseHackOptions(int argc, const char* const* argv, const char* xscreensaverWindow, HackOptions* options,
                      std::string* error) {
    HackOptions result;
    bool windowChosen = false;  // --window or --window-id given
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
                // The first request wins: "--version --help" prints the version.
                result.request = result.request ? result.request : request;
                ++i;
                continue;
            }
            if (!error->empty()) {
                return false;
            }
        }
        if (name == "root" || name == "window") {
            if (!Flag(*spelling, error)) {
                return false;
            }
            result.window = name == "root" ? WindowChoice::Root : WindowChoice::Own;
            windowChosen = name == "window";
            ++i;
            continue;
        }
        bool known = false;
        for (const OptionHelp& option : kFrontEndOptions) {
            known = known || (option.values != nullptr && name == option.name);
        }
        if (!known) {
            *error = "unknown option " + QuotedArgument(argv[i]) + "; accepted: " + OptionNames();
            return false;
        }
        int used = 1;
        const std::optional<std::string_view> value = OptionValue(argc, argv, i, *spelling, used);
        const std::string text(value.value_or(""));
        if (name == "window-id") {
            const std::optional<unsigned long> id = ParseWindowId(text);
            if (!id) {
                *error = "--window-id takes a window number, decimal or 0x-hex, not " + QuotedArgument(text);
                return false;
            }
            result.window = WindowChoice::Id;
            result.windowId = *id;
            windowChosen = true;
        } else if (name == "display") {
            if (!value) {
                *error = "--display needs a display name, such as :0";
                return false;
            }
            result.display = text;
        } else if (name == "scale") {
            const std::optional<uint32_t> scale =
                EqualsFoldingAsciiLetters(text, "auto") ? 0 : ParseDecimal(text, 1, kMaxDisplayScale);
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

    if (!windowChosen && xscreensaverWindow != nullptr && *xscreensaverWindow != '\0') {
        const std::optional<unsigned long> id = ParseWindowId(xscreensaverWindow);
        if (!id) {
            *error = "XSCREENSAVER_WINDOW takes a window number, decimal or 0x-hex, not " +
                     QuotedArgument(xscreensaverWindow);
            return false;
        }
        result.window = WindowChoice::Id;
        result.windowId = *id;
    }
    *options = result;
    return true;
}
