#include "x11/hack_options.h"

#include <cctype>
#include <iterator>

namespace {

// Where to draw and for how long, as the help lists them.
constexpr OptionHelp kFrontEndOptions[] = {
    {"root", nullptr, "Draw on the root window (XScreenSaver's virtual root)"},
    WindowOptionHelp("Draw in a window of its own (default)"),
    {"window-id", "ID", "Draw in window ID, decimal or 0x-hex"},
    {"display", "NAME", "X display (default $DISPLAY)"},
    TicksOptionHelp(),
    ScaleOptionHelp("Device pixels per sprite pixel (default auto: from the display's DPI)"),
};

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
    // --root and --window-id take the say from an earlier --window; the
    // last of the three decides.
    WindowChoice notOwn = WindowChoice::Own;
    const FrontEndOption takeX11Option = [&result, &notOwn](int count, const char* const* args, int index,
                                                            const OptionSpelling& spelling,
                                                            SaverProgramOptions& program) -> OptionResult {
        const std::string name(spelling.name);
        if (name == "root") {
            std::string message = AttachedValueError(spelling);
            if (!message.empty()) {
                return {OptionStatus::Error, 0, message};
            }
            program.window = false;
            notOwn = WindowChoice::Root;
            return {OptionStatus::Consumed, 1, {}};
        }
        if (name != "window-id" && name != "display") {
            return {OptionStatus::NotMine, 0, {}};
        }
        int used = 1;
        const std::optional<std::string_view> value = OptionValue(count, args, index, spelling, used);
        const std::string text(value.value_or(""));
        if (name == "window-id") {
            const std::optional<unsigned long> id = ParseWindowId(text);
            if (!id) {
                return {OptionStatus::Error, 0,
                        "--window-id takes a window number, decimal or 0x-hex, not " + QuotedArgument(text)};
            }
            program.window = false;
            notOwn = WindowChoice::Id;
            result.windowId = *id;
        } else {
            if (!value) {
                return {OptionStatus::Error, 0, "--display needs a display name, such as :0"};
            }
            result.display = text;
        }
        return {OptionStatus::Consumed, used, {}};
    };
    if (!ParseSaverProgramOptions(argc, argv, kFrontEndOptions, std::size(kFrontEndOptions), takeX11Option,
                                  &result.program, error)) {
        return false;
    }
    result.window = result.program.window ? WindowChoice::Own : notOwn;
    // --window or --window-id given last.
    const bool windowChosen = result.program.window || result.window == WindowChoice::Id;

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
