#include "render/render_options.h"

#include <string_view>

namespace {

// The renderer's own options, as its help lists them and its parser knows
// them: an option with values takes one.
constexpr OptionHelp kOutputOptions[] = {
    {"png", "FILE", "the frame after the last tick, 8-bit indexed"},
    {"gif", "FILE", "the run as an animated GIF, timed as the saver runs it (by --speed)"},
    {"every", "K", "keep every K-th tick in the GIF (default 1)"},
    {"trace", "FILE|-", "each paint operation and tick, one a line"},
};
constexpr OptionHelp kRunOptions[] = {
    {"resolution", "WIDTHxHEIGHT", "picture size in device pixels, x or X (default 1024x768)"},
    {"scale", "1..4", "device pixels a side for each sprite pixel (default 1)"},
    {"ticks", "N", "ticks after start-up (default 300)"},
    {"quiet", nullptr, "no progress line"},
};

const OptionHelp* RenderOption(std::string_view name) {
    for (const OptionHelp& option : kOutputOptions) {
        if (name == option.name)
            return &option;
    }
    for (const OptionHelp& option : kRunOptions) {
        if (name == option.name)
            return &option;
    }
    return nullptr;
}

ParsedRenderOptions Failure(std::string message) { return {std::nullopt, std::move(message)}; }

// "WIDTHxHEIGHT" (or "WIDTHXHEIGHT"), each side 1..kLargestSide.
std::optional<ClientSize> ParseResolution(std::string_view text) {
    const size_t x = text.find_first_of("xX");
    if (x == std::string_view::npos)
        return std::nullopt;
    const auto width = ParseDecimal(text.substr(0, x), 1, kLargestSide);
    const auto height = ParseDecimal(text.substr(x + 1), 1, kLargestSide);
    if (!width || !height)
        return std::nullopt;
    return ClientSize{static_cast<int>(*width), static_cast<int>(*height)};
}

// One of the renderer's own options with its value; an empty message when
// it was taken.
std::string TakeRenderOption(std::string_view name, std::string_view value, RenderOptions& options) {
    if (name == "resolution") {
        const auto resolution = ParseResolution(value);
        if (!resolution)
            return "--resolution takes WIDTHxHEIGHT, each 1.." + std::to_string(kLargestSide) + ", not " +
                   QuotedArgument(value);
        options.resolution = *resolution;
    } else if (name == "scale") {
        const auto scale = ParseDecimal(value, 1, kMaxDisplayScale);
        if (!scale)
            return "--scale takes 1.." + std::to_string(kMaxDisplayScale) + ", not " + QuotedArgument(value);
        options.scale = static_cast<int>(*scale);
    } else if (name == "ticks") {
        const auto ticks = ParseDecimal(value, 0, UINT32_MAX);
        if (!ticks)
            return "--ticks takes 0..4294967295, not " + QuotedArgument(value);
        options.ticks = *ticks;
    } else if (name == "every") {
        const auto every = ParseDecimal(value, 1, UINT32_MAX);
        if (!every)
            return "--every takes 1..4294967295, not " + QuotedArgument(value);
        options.every = *every;
    } else {
        std::string& path = name == "png" ? options.png : name == "gif" ? options.gif : options.trace;
        if (value.empty())
            return "--" + std::string(name) + " takes a file name" + (name == "trace" ? " or -" : "") + ", not \"\"";
        path = value;
    }
    return {};
}

std::string ValueHint(std::string_view name) {
    if (name == "resolution")
        return "WIDTHxHEIGHT";
    if (name == "ticks" || name == "every")
        return "a count";
    if (name == "scale")
        return "1.." + std::to_string(kMaxDisplayScale);
    return name == "trace" ? "a file name or -" : "a file name";
}

}  // namespace

ParsedRenderOptions ParseRenderOptions(int argc, const char* const* argv) {
    RenderOptions options;
    for (int i = 1; i < argc;) {
        const OptionResult settings = TakeSettingOption(argc, argv, i, options.saver);
        if (settings.status == OptionStatus::Error)
            return Failure(settings.message);
        if (settings.status == OptionStatus::Consumed) {
            i += settings.used;
            continue;
        }
        const auto spelling = SpellOption(argv[i]);
        if (!spelling)
            return Failure("unexpected argument " + QuotedArgument(argv[i]) + ": options start with --, see --help");
        const std::string name(spelling->name);
        std::string error;
        if (const auto request = TakeRequestOption(*spelling, &error)) {
            // The first request wins: "--version --help" prints the version.
            if (!options.request)
                options.request = request;
            ++i;
            continue;
        }
        if (!error.empty())
            return Failure(error);
        const OptionHelp* option = RenderOption(name);
        if (!option)
            return Failure("unknown option " + QuotedArgument(argv[i]) + ", see --help");
        if (!option->values) {
            if (spelling->attachedValue)
                return Failure("--" + name + " takes no value");
            options.quiet = true;
            ++i;
            continue;
        }
        int used = 1;
        const auto value = OptionValue(argc, argv, i, *spelling, used);
        if (!value)
            return Failure("--" + name + " needs a value: " + ValueHint(name));
        error = TakeRenderOption(name, *value, options);
        if (!error.empty())
            return Failure(error);
        i += used;
    }
    if (options.request)
        return {options, {}};
    if (options.png.empty() && options.gif.empty() && options.trace.empty())
        return Failure("no output asked for: give --png FILE, --gif FILE or --trace FILE|-");
    const ClientSize logical = LogicalSize(options.resolution, options.scale);
    if (logical.width < 1 || logical.height < 1)
        return Failure("--scale " + std::to_string(options.scale) + " leaves no picture in --resolution " +
                       std::to_string(options.resolution.width) + "x" + std::to_string(options.resolution.height));
    return {options, {}};
}

std::string RenderUsage() {
    return ProgramHelp(
        "quorbel-render [options] --png FILE | --gif FILE | --trace FILE|-",
        "Runs the saver headless from a seed and writes what it paints.",
        {{"Outputs (at least one)", OptionHelpLines(kOutputOptions)}, {"Run", OptionHelpLines(kRunOptions)}});
}
