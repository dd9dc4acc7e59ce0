#include "saver_program/saver_program_options.h"

#include "display/display_scale.h"
#include "settings/settings_codec.h"

namespace {

OptionResult Consumed(int used) { return {OptionStatus::Consumed, used, {}}; }
OptionResult Refused(std::string message) { return {OptionStatus::Error, 0, std::move(message)}; }

// --window, --ticks or --scale.
OptionResult TakeSharedOption(int argc, const char* const* argv, int index, const OptionSpelling& spelling,
                              SaverProgramOptions& options) {
    if (spelling.name == "window") {
        std::string error = AttachedValueError(spelling);
        if (!error.empty()) {
            return Refused(error);
        }
        options.window = true;
        return Consumed(1);
    }
    if (spelling.name != "ticks" && spelling.name != "scale") {
        return {OptionStatus::NotMine, 0, {}};
    }
    int used = 1;
    const std::string text(OptionValue(argc, argv, index, spelling, used).value_or(""));
    if (spelling.name == "ticks") {
        options.ticks = ParseDecimal(text, 0, UINT32_MAX);
        if (!options.ticks) {
            return Refused("--ticks takes 0..4294967295, not " + QuotedArgument(text));
        }
    } else {
        const std::optional<uint32_t> scale =
            EqualsFoldingAsciiLetters(text, "auto") ? 0 : ParseDecimal(text, 1, kMaxDisplayScale);
        if (!scale) {
            return Refused("--scale takes auto or 1.." + std::to_string(kMaxDisplayScale) + ", not " +
                           QuotedArgument(text));
        }
        options.scale = static_cast<int>(*scale);
    }
    return Consumed(used);
}

}  // namespace

bool ParseSaverProgramOptions(int argc, const char* const* argv, const OptionHelp* listed, size_t listedCount,
                              const FrontEndOption& frontEnd, SaverProgramOptions* options, std::string* error) {
    SaverProgramOptions result;
    for (int i = 1; i < argc;) {
        OptionResult taken = TakeSettingOption(argc, argv, i, result.saver);
        const std::optional<OptionSpelling> spelling = SpellOption(argv[i]);
        if (taken.status == OptionStatus::NotMine && spelling) {
            std::string requestError;
            if (const auto request = TakeRequestOption(*spelling, &requestError)) {
                // "--version --help" prints the version.
                result.request = result.request ? result.request : request;
                taken = Consumed(1);
            } else if (!requestError.empty()) {
                taken = Refused(requestError);
            } else {
                taken = TakeSharedOption(argc, argv, i, *spelling, result);
            }
            if (taken.status == OptionStatus::NotMine && frontEnd) {
                taken = frontEnd(argc, argv, i, *spelling, result);
            }
        }
        if (taken.status == OptionStatus::NotMine) {
            taken = Refused("unknown option " + QuotedArgument(argv[i]) +
                            "; accepted: " + OptionNameList(listed, listedCount));
        }
        if (taken.status == OptionStatus::Error) {
            *error = taken.message;
            return false;
        }
        i += taken.used;
    }
    *options = result;
    return true;
}
