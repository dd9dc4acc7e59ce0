#include "x11/xscreensaver_programs.h"

#include <cctype>
#include <sstream>
#include <vector>

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

bool Continues(const std::string& line) { return !line.empty() && line.back() == '\\'; }

size_t SkipBlanks(const std::string& text, size_t at) {
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) {
        ++at;
    }
    return at;
}

// Where a setting's first line is: "key:" (or, in an app-defaults file,
// "*key:"), in any case, as XScreenSaver compares; key in lower case.
std::optional<size_t> KeyLine(const std::vector<std::string>& lines, const std::string& wanted, bool appDefaults) {
    for (size_t i = 0; i < lines.size(); ++i) {
        size_t at = SkipBlanks(lines[i], 0);
        if (appDefaults) {
            if (lines[i].compare(at, 1, "*") != 0) {
                continue;
            }
            ++at;
        }
        std::string key;
        while (at < lines[i].size() && std::isalpha(static_cast<unsigned char>(lines[i][at]))) {
            key += static_cast<char>(std::tolower(static_cast<unsigned char>(lines[i][at++])));
        }
        if (key == wanted && SkipBlanks(lines[i], at) < lines[i].size() && lines[i][SkipBlanks(lines[i], at)] == ':') {
            return i;
        }
        // Earlier lines may continue onto this one; a key only starts a line
        // after a line that does not continue.
        while (Continues(lines[i]) && i + 1 < lines.size()) {
            ++i;
        }
    }
    return std::nullopt;
}

std::optional<size_t> ProgramsLine(const std::vector<std::string>& lines, bool appDefaults) {
    return KeyLine(lines, "programs", appDefaults);
}

// A one-line setting's value, blanks trimmed.
std::string Value(const std::vector<std::string>& lines, const std::string& key) {
    const std::optional<size_t> line = KeyLine(lines, key, false);
    if (!line) {
        return {};
    }
    const std::string& text = lines[*line];
    const size_t start = SkipBlanks(text, text.find(':') + 1);
    size_t end = text.size();
    while (end > start && std::isspace(static_cast<unsigned char>(text[end - 1]))) {
        --end;
    }
    return text.substr(start, end - start);
}

// Replaces a one-line setting, or adds it at the end, laid out as
// XScreenSaver writes it; an empty value removes it.
void SetValue(std::vector<std::string>& lines, const std::string& key, const std::string& value) {
    const std::string line = key + ":" + std::string(key.size() < 7 ? "\t\t" : "\t") + value;
    const std::optional<size_t> at = KeyLine(lines, key, false);
    if (value.empty()) {
        if (at) {
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*at));
        }
    } else if (at) {
        lines[*at] = line;
    } else {
        lines.push_back(line);
    }
}

// One past the setting's last line.
size_t SettingEnd(const std::vector<std::string>& lines, size_t first) {
    size_t i = first;
    while (Continues(lines[i]) && i + 1 < lines.size()) {
        ++i;
    }
    return i + 1;
}

struct Hack {
    size_t line;      // where the entry starts
    size_t lastLine;  // where it ends
    bool on;
    std::string command;  // blanks collapsed
};

// The entries of the setting, split at the backslash-n that ends each one.
std::vector<Hack> Hacks(const std::vector<std::string>& lines, size_t first, size_t end) {
    std::vector<Hack> hacks;
    std::string entry;
    size_t entryLine = first;
    auto finish = [&](size_t lastLine, size_t nextLine) {
        std::istringstream words(entry);
        std::string word;
        std::vector<std::string> parts;
        while (words >> word) {
            parts.push_back(word);
        }
        bool on = true;
        size_t at = 0;
        if (at < parts.size() && parts[at][0] == '-') {
            on = false;
            parts[at].erase(0, 1);
            if (parts[at].empty()) {
                ++at;
            }
        }
        if (at < parts.size() && parts[at][0] == '"') {  // "Name", maybe of several words
            while (at < parts.size() && (parts[at].size() < 2 || parts[at].back() != '"')) {
                ++at;
            }
            ++at;
        }
        if (at < parts.size() && parts[at].back() == ':') {  // the visual
            ++at;
        }
        std::string command;
        for (; at < parts.size(); ++at) {
            command += (command.empty() ? "" : " ") + parts[at];
        }
        if (!command.empty()) {
            hacks.push_back({entryLine, lastLine, on, command});
        }
        entry.clear();
        entryLine = nextLine;
    };
    for (size_t i = first; i < end; ++i) {
        std::string text = lines[i];
        if (i == first) {
            text.erase(0, text.find(':') + 1);
        }
        if (Continues(text)) {
            text.pop_back();
        }
        for (size_t at = 0;;) {
            const size_t newline = text.find("\\n", at);
            entry += text.substr(at, newline == std::string::npos ? std::string::npos : newline - at) + " ";
            if (newline == std::string::npos) {
                break;
            }
            finish(i, i);  // a next entry on the same line starts there
            at = newline + 2;
        }
        if (entry.find_first_not_of(' ') == std::string::npos) {
            entry.clear();
            entryLine = i + 1;
        }
    }
    finish(end - 1, end);
    return hacks;
}

// Any quorbel command line: settings chosen in XScreenSaver's settings
// program are options after --root.
bool IsQuorbel(const std::string& command) {
    const std::string program = command.substr(0, command.find(' '));
    const size_t slash = program.rfind('/');
    return program.substr(slash == std::string::npos ? 0 : slash + 1) == "quorbel";
}

// The setting's last line made to continue, and quorbel's entry after it.
void Append(std::vector<std::string>& lines, size_t end) {
    std::string& last = lines[end - 1];
    while (!last.empty() && (last.back() == ' ' || last.back() == '\t')) {
        last.pop_back();
    }
    const bool ended = last.size() >= 2 && last.compare(last.size() - 2, 2, "\\n") == 0;
    const bool empty = !last.empty() && last.back() == ':';
    last += ended ? "\\" : empty ? " \\" : " \\n\\";
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(end), std::string("\t\t\t\t") + kQuorbelHack + " \\n");
}

}  // namespace

std::optional<std::string> ProgramsFromDefaults(const std::string& appDefaults) {
    const std::vector<std::string> lines = Lines(appDefaults);
    const std::optional<size_t> first = ProgramsLine(lines, true);
    if (!first) {
        return std::nullopt;
    }
    std::vector<std::string> setting(lines.begin() + static_cast<std::ptrdiff_t>(*first),
                                     lines.begin() + static_cast<std::ptrdiff_t>(SettingEnd(lines, *first)));
    setting[0].erase(0, setting[0].find('*') + 1);
    return Joined(setting);
}

std::optional<EnableResult> EnableQuorbel(const std::string& userFile,
                                          const std::optional<std::string>& programsFromDefaults, bool only) {
    std::vector<std::string> lines = Lines(userFile);
    std::optional<size_t> first = ProgramsLine(lines, false);
    if (!first) {
        if (!programsFromDefaults) {
            return std::nullopt;
        }
        if (!lines.empty() && !lines.back().empty()) {
            lines.emplace_back();
        }
        first = lines.size();
        for (const std::string& line : Lines(*programsFromDefaults)) {
            lines.push_back(line);
        }
    }
    const size_t end = SettingEnd(lines, *first);
    const std::vector<Hack> hacks = Hacks(lines, *first, end);
    std::optional<EnableOutcome> outcome;
    size_t number = hacks.size();  // where quorbel ends up
    for (size_t i = 0; i < hacks.size() && !outcome; ++i) {
        const Hack& hack = hacks[i];
        if (!IsQuorbel(hack.command)) {
            continue;
        }
        std::string& line = lines[hack.line];
        const size_t dash = SkipBlanks(line, hack.line == *first ? line.find(':') + 1 : 0);
        if (hack.on) {
            outcome = EnableOutcome::AlreadyOn;
        } else if (dash < line.size() && line[dash] == '-') {
            line[dash] = ' ';
            outcome = EnableOutcome::TurnedOn;
        } else {
            break;  // laid out as XScreenSaver never writes it: list it again, on
        }
        number = i;
    }
    if (!outcome) {
        Append(lines, end);
        outcome = EnableOutcome::Added;
    }
    const Selection before{Value(lines, "mode"), Value(lines, "selected")};
    if (only && (before.mode != "one" || before.selected != std::to_string(number))) {
        SetValue(lines, "mode", "one");
        SetValue(lines, "selected", std::to_string(number));
        return EnableResult{*outcome, Joined(lines), before};
    }
    if (*outcome == EnableOutcome::AlreadyOn) {
        return EnableResult{*outcome, userFile, std::nullopt};
    }
    return EnableResult{*outcome, Joined(lines), std::nullopt};
}

std::optional<RemoveResult> RemoveQuorbel(const std::string& userFile, const std::optional<Selection>& replaced) {
    std::vector<std::string> lines = Lines(userFile);
    const std::optional<size_t> first = ProgramsLine(lines, false);
    if (!first) {
        return RemoveResult{0, false, userFile};
    }
    const std::vector<Hack> hacks = Hacks(lines, *first, SettingEnd(lines, *first));
    const std::string selectedText = Value(lines, "selected");
    const bool hasSelected = !selectedText.empty() && selectedText.size() < 10 &&
                             selectedText.find_first_not_of("0123456789") == std::string::npos;
    const long selected = hasSelected ? std::stol(selectedText) : -1;
    long selectedAfter = selected;
    RemoveResult result{0, false, {}};
    // From the last, so that the line numbers of those before stay right.
    for (size_t i = hacks.size(); i-- > 0;) {
        const Hack& hack = hacks[i];
        if (!IsQuorbel(hack.command)) {
            continue;
        }
        if ((i > 0 && hacks[i - 1].lastLine >= hack.line) ||
            (i + 1 < hacks.size() && hacks[i + 1].line <= hack.lastLine)) {
            return std::nullopt;
        }
        const size_t settingEnd = SettingEnd(lines, *first);
        const bool wasLast = hack.lastLine + 1 == settingEnd;
        size_t eraseFrom = hack.line;
        if (hack.line == *first) {  // on the setting's own line: keep its key
            lines[*first].erase(lines[*first].find(':') + 1);
            lines[*first] += wasLast ? "" : "\t\\";
            eraseFrom = *first + 1;
        }
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(eraseFrom),
                    lines.begin() + static_cast<std::ptrdiff_t>(hack.lastLine + 1));
        if (wasLast && hack.line != *first) {
            // The entry before now ends the setting.
            std::string& last = lines[hack.line - 1];
            while (!last.empty() && (last.back() == ' ' || last.back() == '\t')) {
                last.pop_back();
            }
            if (Continues(last)) {
                last.pop_back();
            }
        }
        ++result.removed;
        if (static_cast<long>(i) == selected) {
            result.wasSelected = true;
        } else if (static_cast<long>(i) < selected) {
            --selectedAfter;
        }
    }
    if (result.wasSelected && Value(lines, "mode") == "one") {
        const Selection back = replaced.value_or(Selection{"random", "-1"});
        SetValue(lines, "mode", back.mode);
        SetValue(lines, "selected", back.selected);
    } else if (result.wasSelected) {
        SetValue(lines, "selected", "-1");
    } else if (selectedAfter != selected) {
        SetValue(lines, "selected", std::to_string(selectedAfter));
    }
    result.text = result.removed == 0 ? userFile : Joined(lines);
    return result;
}
