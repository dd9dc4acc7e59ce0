#include "settings/command_line_options.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "quorbel_version.h"
#include "settings/settings_codec.h"
#include "settings/settings_table.h"

namespace {

// The seed is not a stored setting, but it is an option like them.
constexpr char kSeedOption[] = "seed";
constexpr char kSeedLabel[] = "Seed";

// Other spellings a word option takes besides the table's words.
struct WordAlias {
    const char* option;
    const char* alias;
    const char* word;  // the table's word it stands for
};
constexpr WordAlias kWordAliases[] = {
    {"cell-size", "medium", "Middle"},
};

// The column at which the descriptions of every program's help begin.
constexpr size_t kHelpColumn = 46;

std::string HelpLine(std::string spelling, const std::string& description) {
    spelling.resize(std::max(spelling.size() + 2, kHelpColumn), ' ');
    return spelling + description + "\n";
}

// The settings an option sets: a word-coded one, a number, or both (speed).
struct OptionRows {
    const SettingDescription* word = nullptr;
    const SettingDescription* number = nullptr;
};

OptionRows RowsOf(std::string_view name) {
    OptionRows rows;
    for (const SettingDescription& setting : kSettingTable) {
        if (name != setting.option)
            continue;
        (setting.codec ? rows.word : rows.number) = &setting;
    }
    return rows;
}

bool IsOptionWord(const SettingDescription& setting, size_t value) {
    return static_cast<int32_t>(value) != setting.valueForNumber;
}

std::string LowerCase(std::string_view word) {
    std::string lower(word);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

std::string Range(uint32_t lowest, uint32_t highest) { return std::to_string(lowest) + ".." + std::to_string(highest); }

// The values an option takes, numbers first, in the table's word order.
std::vector<std::string> Accepted(std::string_view name) {
    if (name == kSeedOption)
        return {Range(0, UINT32_MAX)};
    const OptionRows rows = RowsOf(name);
    std::vector<std::string> accepted;
    if (rows.number)
        accepted.push_back(Range(rows.number->lowest, rows.number->highest));
    if (rows.word) {
        for (size_t value = 0; value < rows.word->codec->wordCount; ++value) {
            if (!IsOptionWord(*rows.word, value))
                continue;
            const char* word = rows.word->codec->words[value];
            accepted.push_back(LowerCase(word));
            for (const WordAlias& alias : kWordAliases) {
                if (name == alias.option && std::string_view(word) == alias.word)
                    accepted.emplace_back(alias.alias);
            }
        }
    }
    return accepted;
}

std::string Joined(const std::vector<std::string>& parts, const char* separator, const char* last) {
    std::string text;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            text += i + 1 == parts.size() ? last : separator;
        text += parts[i];
    }
    return text;
}

}  // namespace

namespace {

// The length of the well-formed UTF-8 sequence of a printable character
// starting at text[at], or 0 (overlong forms, surrogates, C1 controls and
// values past U+10FFFF are not).
size_t PrintableUtf8Length(std::string_view text, size_t at) {
    const auto byte = [&](size_t i) { return at + i < text.size() ? static_cast<unsigned char>(text[at + i]) : 0; };
    const unsigned char lead = byte(0);
    size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead == 0xC2) {
        length = 2;
        low = 0xA0;  // U+0080..U+009F are the C1 controls
    } else if (lead >= 0xC3 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (byte(1) < low || byte(1) > high)
        return 0;
    for (size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    }
    return length;
}

}  // namespace

std::string QuotedArgument(std::string_view argument, NonAscii nonAscii) {
    static const char kHex[] = "0123456789abcdef";
    std::string quoted = "\"";
    for (size_t i = 0; i < argument.size(); ++i) {
        const auto byte = static_cast<unsigned char>(argument[i]);
        const size_t shown = nonAscii == NonAscii::Shown ? PrintableUtf8Length(argument, i) : 0;
        if (shown > 0) {
            quoted.append(argument.substr(i, shown));
            i += shown - 1;
        } else if (byte < 0x20 || byte >= 0x7F) {
            quoted += "\\x";
            quoted += kHex[byte >> 4];
            quoted += kHex[byte & 0xF];
        } else {
            quoted += argument[i];
        }
    }
    return quoted + "\"";
}

namespace {

OptionResult Error(std::string message) { return {OptionStatus::Error, 0, std::move(message)}; }

OptionResult BadValue(std::string_view name, std::string_view value) {
    return Error("--" + std::string(name) + " takes " + AcceptedValues(name) + ", not " + QuotedArgument(value));
}

bool ApplyWord(const SettingDescription& setting, std::string_view value, Settings& settings) {
    for (const WordAlias& alias : kWordAliases) {
        if (setting.option == std::string_view(alias.option) && EqualsFoldingAsciiLetters(value, alias.alias))
            value = alias.word;
    }
    for (size_t word = 0; word < setting.codec->wordCount; ++word) {
        if (IsOptionWord(setting, word) && EqualsFoldingAsciiLetters(value, setting.codec->words[word])) {
            setting.set(settings, static_cast<uint32_t>(word));
            return true;
        }
    }
    return false;
}

std::string DefaultText(std::string_view name) {
    if (name == kSeedOption)
        return "chosen at random";
    const OptionRows rows = RowsOf(name);
    const bool numberInForce =
        rows.number && (!rows.word || static_cast<int32_t>(rows.word->defaultValue) == rows.word->valueForNumber);
    if (numberInForce)
        return std::to_string(rows.number->defaultValue);
    return LowerCase(rows.word->codec->words[rows.word->defaultValue]);
}

}  // namespace

std::optional<OptionSpelling> SpellOption(std::string_view argument) {
    if (argument.size() < 2 || argument[0] != '-')
        return std::nullopt;
    argument.remove_prefix(argument[1] == '-' ? 2 : 1);
    OptionSpelling spelling;
    const size_t equals = argument.find('=');
    spelling.name = argument.substr(0, equals);
    if (equals != std::string_view::npos)
        spelling.attachedValue = argument.substr(equals + 1);
    if (spelling.name.empty())
        return std::nullopt;
    return spelling;
}

std::string AttachedValueError(const OptionSpelling& spelling) {
    return spelling.attachedValue ? "--" + std::string(spelling.name) + " takes no value" : std::string();
}

std::optional<std::string_view> OptionValue(int argc, const char* const* argv, int index,
                                            const OptionSpelling& spelling, int& used) {
    if (spelling.attachedValue) {
        used = 1;
        return spelling.attachedValue;
    }
    if (index + 1 >= argc)
        return std::nullopt;
    used = 2;
    return std::string_view(argv[index + 1]);
}

std::optional<uint32_t> ParseDecimal(std::string_view text, uint32_t lowest, uint32_t highest) {
    if (text.empty())
        return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - '0');
        if (value > highest)
            return std::nullopt;
    }
    if (value < lowest)
        return std::nullopt;
    return static_cast<uint32_t>(value);
}

OptionResult ApplySettingOption(std::string_view name, std::string_view value, SaverOptions& options) {
    if (name == kSeedOption) {
        const auto seed = ParseDecimal(value, 0, UINT32_MAX);
        if (!seed)
            return BadValue(name, value);
        options.seed = *seed;
        return {OptionStatus::Consumed, 1, {}};
    }
    const OptionRows rows = RowsOf(name);
    if (!rows.word && !rows.number)
        return {OptionStatus::NotMine, 0, {}};
    if (rows.word && ApplyWord(*rows.word, value, options.settings))
        return {OptionStatus::Consumed, 1, {}};
    if (rows.number) {
        if (const auto number = ParseDecimal(value, rows.number->lowest, rows.number->highest)) {
            rows.number->set(options.settings, *number);
            if (rows.word)
                rows.word->set(options.settings, static_cast<uint32_t>(rows.word->valueForNumber));
            return {OptionStatus::Consumed, 1, {}};
        }
    }
    return BadValue(name, value);
}

OptionResult TakeSettingOption(int argc, const char* const* argv, int index, SaverOptions& options) {
    const auto spelling = SpellOption(argv[index]);
    if (!spelling || AcceptedValues(spelling->name).empty())
        return {OptionStatus::NotMine, 0, {}};
    int used = 1;
    const auto value = OptionValue(argc, argv, index, *spelling, used);
    if (!value)
        return Error("--" + std::string(spelling->name) + " needs a value: " + AcceptedValues(spelling->name));
    OptionResult result = ApplySettingOption(spelling->name, *value, options);
    if (result.status == OptionStatus::Consumed)
        result.used = used;
    return result;
}

bool IsWordAlias(std::string_view name, std::string_view value) {
    for (const WordAlias& alias : kWordAliases) {
        if (name == alias.option && value == alias.alias)
            return true;
    }
    return false;
}

std::string AcceptedValues(std::string_view name) { return Joined(Accepted(name), ", ", " or "); }

std::vector<SettingOptionDescription> SettingOptions() {
    std::vector<std::string_view> names;
    for (const SettingDescription& setting : kSettingTable) {
        if (std::find(names.begin(), names.end(), setting.option) == names.end())
            names.push_back(setting.option);
    }
    names.push_back(kSeedOption);

    std::vector<SettingOptionDescription> options;
    for (std::string_view name : names) {
        const OptionRows rows = RowsOf(name);
        const char* label = rows.number ? rows.number->label : rows.word ? rows.word->label : kSeedLabel;
        options.push_back({std::string(name), label, Accepted(name), DefaultText(name)});
    }
    return options;
}

std::string SettingOptionsUsage() {
    std::string usage;
    for (const SettingOptionDescription& option : SettingOptions()) {
        usage += HelpLine("  --" + option.name + " " + Joined(option.values, "|", "|"),
                          option.label + " (default " + option.defaultText + ")");
    }
    return usage;
}

std::string OptionHelpLines(const OptionHelp* options, size_t count) {
    std::string lines;
    for (size_t i = 0; i < count; ++i) {
        const OptionHelp& option = options[i];
        lines += HelpLine(std::string("  --") + option.name + (option.values ? std::string(" ") + option.values : ""),
                          option.description);
    }
    return lines;
}

std::string OptionNameList(const OptionHelp* options, size_t count) {
    std::string names;
    const auto add = [&names](const std::string& name) { names += (names.empty() ? "--" : ", --") + name; };
    for (size_t i = 0; i < count; ++i)
        add(options[i].name);
    for (const SettingOptionDescription& option : SettingOptions())
        add(option.name);
    add("help");
    add("version");
    return names;
}

std::string ProgramHelp(const char* usage, const char* about, const std::vector<HelpSection>& sections) {
    std::string help = std::string("Usage: ") + usage + "\n" + about + "\n";
    for (const HelpSection& section : sections)
        help += std::string("\n") + section.title + ":\n" + section.lines;
    help += "\nSettings (words in any case; \"--name value\", \"--name=value\" and one dash work too):\n" +
            SettingOptionsUsage();
    help += "\nThis text and the version:\n" + HelpLine("  -h, --help", "this text, then exit") +
            HelpLine("  --version", "the version, then exit");
    return help;
}

std::string VersionText(const char* program) { return std::string(program) + " " QUORBEL_VERSION_TEXT "\n"; }

int AnswerRequest(ProgramRequest request, const std::string& help, const char* program) {
    const bool isHelp = request == ProgramRequest::Help;
    if (std::fputs((isHelp ? help : VersionText(program)).c_str(), stdout) >= 0 && std::fflush(stdout) == 0) {
        return 0;
    }
    // A full disk or a closed output: said where it may still be read.
    std::fprintf(stderr, "%s: cannot write the %s: %s\n", program, isHelp ? "help" : "version", std::strerror(errno));
    return 1;
}

std::optional<ProgramRequest> TakeRequestOption(const OptionSpelling& spelling, std::string* error) {
    std::optional<ProgramRequest> request;
    if (spelling.name == "h" || spelling.name == "help")
        request = ProgramRequest::Help;
    else if (spelling.name == "version")
        request = ProgramRequest::Version;
    if (request && spelling.attachedValue) {
        *error = AttachedValueError(spelling);
        return std::nullopt;
    }
    return request;
}
