#include "web/web_options.h"

#include <vector>

namespace {

constexpr char kTicksOption[] = "ticks";

std::string OptionNames(const std::vector<SettingOptionDescription>& options) {
    std::string names;
    for (const SettingOptionDescription& option : options) {
        names += option.name + ", ";
    }
    return names + kTicksOption;
}

}  // namespace

std::optional<std::string> ApplyWebOption(std::string_view name, std::string_view value, WebOptions& options) {
    const std::string quoted = QuotedArgument(value);
    if (name == kTicksOption) {
        if (const auto ticks = ParseDecimal(value, 0, UINT32_MAX)) {
            options.ticks = *ticks;
            return std::nullopt;
        }
        options.ticks.reset();
        return "ticks=" + quoted + ": ticks takes 0..4294967295; running without end";
    }
    const std::vector<SettingOptionDescription> all = SettingOptions();
    for (const SettingOptionDescription& option : all) {
        if (option.name != name) {
            continue;
        }
        if (ApplySettingOption(name, value, options.saver).status == OptionStatus::Consumed) {
            return std::nullopt;
        }
        // Back to the default, also after an earlier good value: the line
        // says the default is in force.
        if (ApplySettingOption(name, option.defaultText, options.saver).status != OptionStatus::Consumed) {
            options.saver.seed.reset();  // the seed's default: from the clock
        }
        return option.name + "=" + quoted + ": " + option.name + " takes " + AcceptedValues(name) +
               "; using the default (" + option.defaultText + ")";
    }
    return "unknown option " + QuotedArgument(name) + ": the options are " + OptionNames(all);
}
