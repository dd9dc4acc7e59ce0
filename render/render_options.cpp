#include "render/render_options.h"

#include <string_view>

namespace {

ParsedRenderOptions Failure(std::string message) { return {std::nullopt, std::move(message)}; }

// "WIDTHxHEIGHT", each side 1..kLargestSide.
std::optional<ClientSize> ParseResolution(std::string_view text) {
    const size_t x = text.find('x');
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

bool TakesValue(std::string_view name) {
    return name == "resolution" || name == "scale" || name == "ticks" || name == "every" || name == "png" ||
           name == "gif" || name == "trace";
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
        if (name == "quiet" || name == "help") {
            if (spelling->attachedValue)
                return Failure("--" + name + " takes no value");
            (name == "quiet" ? options.quiet : options.help) = true;
            ++i;
            continue;
        }
        if (!TakesValue(name))
            return Failure("unknown option " + QuotedArgument(argv[i]) + ", see --help");
        int used = 1;
        const auto value = OptionValue(argc, argv, i, *spelling, used);
        if (!value)
            return Failure("--" + name + " needs a value: " + ValueHint(name));
        const std::string error = TakeRenderOption(name, *value, options);
        if (!error.empty())
            return Failure(error);
        i += used;
    }
    if (!options.help && options.png.empty() && options.gif.empty() && options.trace.empty())
        return Failure("no output asked for: give --png FILE, --gif FILE or --trace FILE|-");
    const ClientSize logical = LogicalSize(options.resolution, options.scale);
    if (logical.width < 1 || logical.height < 1)
        return Failure("--scale " + std::to_string(options.scale) + " leaves no picture in --resolution " +
                       std::to_string(options.resolution.width) + "x" + std::to_string(options.resolution.height));
    return {options, {}};
}

std::string RenderUsage() {
    return "Usage: quorbel-render [options] --png FILE | --gif FILE | --trace FILE|-\n"
           "Runs the saver headless from a seed and writes what it paints.\n"
           "\n"
           "Outputs (at least one):\n"
           "  --png FILE                            the frame after the last tick, 8-bit indexed\n"
           "  --gif FILE                            the run as an animated GIF\n"
           "  --every K                             keep every K-th tick in the GIF (default 1)\n"
           "  --trace FILE|-                        each paint operation and tick, one a line\n"
           "\n"
           "Run:\n"
           "  --resolution WIDTHxHEIGHT             picture size (default 1024x768)\n"
           "  --scale 1..4                          device pixels a side per sprite pixel (default 1)\n"
           "  --ticks N                             ticks after start-up (default 300)\n"
           "  --quiet                               no progress line\n"
           "\n"
           "Settings (words in any case; \"-name value\" and \"--name=value\" work too):\n" +
           SettingOptionsUsage();
}
