#include "wayland/wayland_settings_file.h"

#include <algorithm>
#include <sstream>

#include "settings/command_line_options.h"

namespace {

constexpr char kIdle[] = "idle";

struct ParsedLine {
    bool option = false;  // not blank, not a comment
    std::string name;     // without its dashes
    std::string value;
};

ParsedLine ParseLine(std::string line) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r')) {
        line.pop_back();
    }
    size_t at = line.find_first_not_of(" \t");
    ParsedLine parsed;
    if (at == std::string::npos || line[at] == '#') {
        return parsed;
    }
    // One or two dashes, as on the command line.
    for (const size_t start = at; at < line.size() && line[at] == '-' && at - start < 2;) {
        ++at;
    }
    const size_t end = std::min(line.find_first_of(" \t=", at), line.size());
    parsed.option = true;
    parsed.name = line.substr(at, end - at);
    const size_t value = line.find_first_not_of(" \t=", end);
    parsed.value = value == std::string::npos ? "" : line.substr(value);
    return parsed;
}

std::string DefaultOf(const std::string& name) {
    if (name == kIdle) {
        return std::to_string(kDefaultIdleSeconds);
    }
    for (const SettingOptionDescription& option : SettingOptions()) {
        if (option.name == name) {
            return option.defaultText;
        }
    }
    return {};
}

}  // namespace

WaylandSettingsFile ReadWaylandSettingsFile(const std::string& text) {
    WaylandSettingsFile file;
    std::istringstream in(text);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        const ParsedLine parsed = ParseLine(line);
        if (!parsed.option) {
            continue;
        }
        std::string problem;
        if (parsed.name == kIdle) {
            file.idleSeconds = ParseDecimal(parsed.value, 1, kMaxIdleSeconds);
            problem = file.idleSeconds ? ""
                                       : "idle takes 1.." + std::to_string(kMaxIdleSeconds) + " seconds, not " +
                                             QuotedArgument(parsed.value);
        } else {
            SaverOptions scratch;
            const OptionResult result = ApplySettingOption(parsed.name, parsed.value, scratch);
            if (result.status == OptionStatus::Consumed) {
                file.arguments.push_back("--" + parsed.name);
                file.arguments.push_back(parsed.value);
            }
            problem = result.status == OptionStatus::NotMine ? QuotedArgument(parsed.name) + " is not a setting"
                                                             : result.message;
        }
        if (!problem.empty()) {
            const std::string fallback = DefaultOf(parsed.name);
            file.problems.push_back("line " + std::to_string(number) + ": " + problem +
                                    (fallback.empty() ? "; ignored" : "; the default, " + fallback + ", used"));
        }
    }
    return file;
}

bool ParseWaylandOptionsOverFile(const WaylandSettingsFile& file, int argc, const char* const* argv,
                                 WaylandOptions* options, std::string* error) {
    std::vector<const char*> arguments{argc > 0 ? argv[0] : "quorbel-wayland"};
    for (const std::string& argument : file.arguments) {
        arguments.push_back(argument.c_str());
    }
    arguments.insert(arguments.end(), argv + (argc > 0 ? 1 : 0), argv + argc);
    return ParseWaylandOptions(static_cast<int>(arguments.size()), arguments.data(), options, error);
}

std::string WithSettingLines(const std::string& text, const std::vector<SettingLine>& lines) {
    std::vector<std::string> fileLines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        fileLines.push_back(line);
    }
    const bool finalEnd = text.empty() || text.back() == '\n';
    if (text.empty()) {
        fileLines = {"# quorbel-wayland's settings, read each time the saver shows: one option a line,",
                     "# as \"quorbel-wayland --help\" lists them; idle: the seconds without input before",
                     "# it shows, read when the waiter starts (at login)."};
    }
    bool added = false;
    for (const auto& [name, value] : lines) {
        std::string line = name;
        line.append(" ").append(value);
        size_t found = fileLines.size();
        for (size_t i = 0; i < fileLines.size(); ++i) {
            found = ParseLine(fileLines[i]).name == name ? i : found;
        }
        if (found < fileLines.size()) {
            fileLines[found] = line;
        } else {
            fileLines.push_back(line);
            added = true;
        }
    }
    std::string result;
    for (const std::string& line : fileLines) {
        result += line + "\n";
    }
    // A last line without its end stays so, unless lines come after it.
    if (!finalEnd && !added) {
        result.pop_back();
    }
    return result;
}
