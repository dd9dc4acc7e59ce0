// The settings on a native program's command line, read from the settings
// table, so every front end (the renderer, the X11 saver) takes the same
// options with the same words:
//
//   --speed 0..19|random  --cell-size small|middle|medium|big|random
//   --wriggle/--shrink/--life/--wrap off|on|random  --species 1|3|6|random
//   --generations 0..4294967295  --seed 0..4294967295
//
// Spellings: "--name value", "--name=value", and the same with one dash
// ("-name value", XScreenSaver's habit). Words are case-insensitive. A later
// option overrides an earlier one; settings not given keep the defaults.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings.h"

// What the options choose: the settings, and the random source's starting
// state (none: chosen at random, see command_line_options_posix.h).
struct SaverOptions {
    Settings settings = DefaultSettings();
    std::optional<uint32_t> seed;
};

// Whether a message shows characters past ASCII as they are: a web page
// shows any text, a terminal's encoding is unknown.
enum class NonAscii { Escaped, Shown };

// An argument as error messages quote it: in double quotes, with control
// characters written as \xNN, and bytes past ASCII too unless they are to be
// shown (then only those outside well-formed UTF-8, and C1 controls), so that
// the message stays one printable line whatever the argument holds.
std::string QuotedArgument(std::string_view argument, NonAscii nonAscii = NonAscii::Escaped);

// One command-line argument read as an option: its name without dashes and
// the value written after '=' in the same argument, if any.
struct OptionSpelling {
    std::string_view name;
    std::optional<std::string_view> attachedValue;
};
// Nothing when the argument does not start with a dash or has no name
// ("-", "--", "--=x").
std::optional<OptionSpelling> SpellOption(std::string_view argument);

// For an option that takes no value: the message when one is attached
// ("--root=1 takes no value"), else empty.
std::string AttachedValueError(const OptionSpelling& spelling);

enum class OptionStatus {
    Consumed,  // taken: `used` arguments
    NotMine,   // not a settings option; the caller may know it
    Error,     // a settings option with a bad or missing value: see message
};
struct OptionResult {
    OptionStatus status;
    int used;             // arguments taken when Consumed (1 or 2)
    std::string message;  // when Error: one line naming the option and what it takes
};

// Tries argv[index] (with argv[index + 1] as its value when not attached)
// as one settings option, applying it to options.
OptionResult TakeSettingOption(int argc, const char* const* argv, int index, SaverOptions& options);

// The same for a name and a value already separated, e.g. from X resources.
OptionResult ApplySettingOption(std::string_view name, std::string_view value, SaverOptions& options);

// The value of an option whose name the caller has recognised: the attached
// one, or the next argument (then used is 2). Nothing when it is missing.
std::optional<std::string_view> OptionValue(int argc, const char* const* argv, int index,
                                            const OptionSpelling& spelling, int& used);

// Decimal digits only (no sign, no blanks), within lowest..highest.
std::optional<uint32_t> ParseDecimal(std::string_view text, uint32_t lowest, uint32_t highest);

// One settings option as a settings program offers it: the table's English
// label, what it takes (a number range as "lowest..highest" first, then the
// words) and its default as the usage text says it.
struct SettingOptionDescription {
    std::string name;
    std::string label;
    std::vector<std::string> values;
    std::string defaultText;
};
// Every settings option, in the table's order, --seed last.
std::vector<SettingOptionDescription> SettingOptions();

// One line per option: "  --speed 0..19|random" padded, the English label
// and the default, each line ending in '\n'.
std::string SettingOptionsUsage();

// Whether value is another spelling of one of the option's words ("medium"
// for "middle"), which a settings program need not offer.
bool IsWordAlias(std::string_view name, std::string_view value);

// What an option takes, as a message says it ("0..19 or random"); empty for
// a name that is not a settings option.
std::string AcceptedValues(std::string_view name);

// A program's own option as its help shows it, in the settings options'
// layout: "  --name values", padded, then the description.
struct OptionHelp {
    const char* name;    // without dashes
    const char* values;  // what follows the name ("FILE", "1..4"); nullptr for a flag
    const char* description;
};
std::string OptionHelpLines(const OptionHelp* options, size_t count);
template <size_t N>
std::string OptionHelpLines(const OptionHelp (&options)[N]) {
    return OptionHelpLines(options, N);
}

// Every option a program takes, as the message on an unknown one lists them:
// its own options in the order given, the settings options, then --help and
// --version ("--root, --window, ..., --seed, --help, --version").
std::string OptionNameList(const OptionHelp* options, size_t count);

struct HelpSection {
    const char* title;
    std::string lines;  // from OptionHelpLines
};
// The whole --help text of a native program: the usage line, what the
// program does, its own sections, then the settings options and the lines
// for -h/--help and --version that every native program takes.
std::string ProgramHelp(const char* usage, const char* about, const std::vector<HelpSection>& sections);

// "<program> 1.11.004\n", the version as the About box shows it.
std::string VersionText(const char* program);

// -h/--help and --version, which every native program takes.
enum class ProgramRequest { Help, Version };
// Prints the help or the version on standard output; the exit code: 0, or
// 1 with a message on standard error when it cannot be written.
int AnswerRequest(ProgramRequest request, const std::string& help, const char* program);
// Which one the argument asks for, if any; on one given a value, nothing and
// the message in *error (which stays empty otherwise).
std::optional<ProgramRequest> TakeRequestOption(const OptionSpelling& spelling, std::string* error);
