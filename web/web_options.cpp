#include "web/web_options.h"

#include <algorithm>

namespace {

constexpr char kTicksOption[] = "ticks";
constexpr char kEllipsis[] = "\xe2\x80\xa6";

std::string OptionNames(const std::vector<SettingOptionDescription>& options) {
    std::string names;
    for (const SettingOptionDescription& option : options) {
        names += option.name + ", ";
    }
    return names + kTicksOption;
}

// Quoted for the page, which shows any character; a text past the longest
// is cut at a character's start and marked so inside the quotes.
std::string Quoted(std::string_view text) {
    if (text.size() <= kLongestWebText) {
        return QuotedArgument(text, NonAscii::Shown);
    }
    size_t cut = kLongestWebText;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    std::string quoted = QuotedArgument(text.substr(0, cut), NonAscii::Shown);
    return quoted.insert(quoted.size() - 1, kEllipsis);
}

// Applies name=value. Nothing when taken; otherwise the line to show.
std::optional<std::string> ApplyWebOption(std::string_view name, std::string_view value, WebOptions& options) {
    // Leading zeros could make a long value a good one: no value is that long.
    const bool fits = value.size() <= kLongestWebText;
    const std::string quoted = Quoted(value);
    if (name == kTicksOption) {
        if (const auto ticks = fits ? ParseDecimal(value, 0, UINT32_MAX) : std::nullopt) {
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
        if (fits && ApplySettingOption(name, value, options.saver).status == OptionStatus::Consumed) {
            return std::nullopt;
        }
        // Back to the default, also after an earlier good value: the line
        // says the default is in force.
        if (ApplySettingOption(name, option.defaultText, options.saver).status != OptionStatus::Consumed) {
            options.saver.seed.reset();  // the seed's default: none given, the page draws one
        }
        return option.name + "=" + quoted + ": " + option.name + " takes " + AcceptedValues(name) +
               "; using the default (" + option.defaultText + ")";
    }
    return "unknown option " + Quoted(name) + ": the options are " + OptionNames(all);
}

}  // namespace

void WebAddress::apply(std::string_view name, std::string_view value) {
    const std::optional<std::string> line = ApplyWebOption(name, value, options_);
    auto known =
        std::find_if(refusals_.begin(), refusals_.end(), [&](const Refusal& refusal) { return refusal.name == name; });
    if (!line) {
        if (known != refusals_.end()) {
            known->inForce = std::string(value);  // taken, so a word or a number: safe to show as it is
        }
        return;
    }
    if (known == refusals_.end()) {
        known = refusals_.insert(refusals_.end(), Refusal{std::string(name), {}, {}, {}});
    }
    known->line = *line;
    known->refused = Quoted(value);
    known->inForce.reset();
}

std::string WebAddress::message() const {
    std::string text;
    for (const Refusal& refusal : refusals_) {
        text += text.empty() ? "" : " \xc2\xb7 ";
        text += refusal.inForce ? refusal.name + "=" + refusal.refused + " ignored, " + *refusal.inForce + " in force"
                                : refusal.line;
    }
    return text;
}
