#include "x11/xscreensaver_programs.h"

#include <cctype>
#include <sstream>
#include <utility>
#include <vector>

#include "user_files/text_hash.h"

namespace {

// The lines without their ends, a carriage return before the newline being
// part of the end.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

// A file's bytes again: finalEnd false leaves the last line without its end,
// as a file may have it.
std::string Joined(const std::vector<std::string>& lines, const std::string& end, bool finalEnd = true) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + end;
    }
    if (!finalEnd && !lines.empty()) {
        text.resize(text.size() - end.size());
    }
    return text;
}

bool FinalEnd(const std::string& text) { return text.empty() || text.back() == '\n'; }

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool Continues(const std::string& line) { return !line.empty() && line.back() == '\\'; }

void TrimEnd(std::string& line) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) {
        line.pop_back();
    }
}

size_t SkipBlanks(const std::string& text, size_t at) {
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) {
        ++at;
    }
    return at;
}

// Where a setting's first line is: "key:" (or, in an app-defaults file,
// "*key:"), in any case, as XScreenSaver compares; key in lower case. The
// last of several, which overrides those before as XScreenSaver reads.
std::optional<size_t> KeyLine(const std::vector<std::string>& lines, const std::string& wanted, bool appDefaults) {
    std::optional<size_t> found;
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
            found = i;
        }
        // Earlier lines may continue onto this one; a key only starts a line
        // after a line that does not continue.
        while (Continues(lines[i]) && i + 1 < lines.size()) {
            ++i;
        }
    }
    return found;
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

// Replaces a one-line setting's value, keeping the layout before it, or adds
// the setting, laid out as XScreenSaver writes it, before the list (where
// XScreenSaver writes it, and where no line before can continue onto it);
// an empty value removes it.
void SetValue(std::vector<std::string>& lines, const std::string& key, const std::string& value) {
    const std::string line = key + ":" + std::string(key.size() < 7 ? "\t\t" : "\t") + value;
    const std::optional<size_t> at = KeyLine(lines, key, false);
    if (value.empty()) {
        if (at) {
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*at));
        }
    } else if (at) {
        lines[*at].erase(SkipBlanks(lines[*at], lines[*at].find(':') + 1)) += value;
    } else {
        const std::optional<size_t> programs = ProgramsLine(lines, false);
        lines.insert(programs ? lines.begin() + static_cast<std::ptrdiff_t>(*programs) : lines.end(), line);
    }
}

// "selected" as a number; nothing when it is none.
std::optional<long> SelectedNumber(const std::string& text) {
    if (text.empty() || text.size() >= 10 || text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return std::stol(text);
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
    std::string entry;    // visual, name and command: the entry but its dash
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
        const size_t start = at;
        if (at < parts.size() && parts[at][0] == '"') {  // "Name", maybe of several words
            while (at < parts.size() && (parts[at].size() < 2 || parts[at].back() != '"')) {
                ++at;
            }
            ++at;
        }
        if (at < parts.size() && parts[at].back() == ':') {  // the visual
            ++at;
        }
        auto joined = [&](size_t from) {
            std::string text;
            for (; from < parts.size(); ++from) {
                text += (text.empty() ? "" : " ") + parts[from];
            }
            return text;
        };
        const std::string command = joined(at);
        if (!command.empty()) {
            hacks.push_back({entryLine, lastLine, on, command, joined(start)});
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

// The setting's last line made to continue, and quorbel's entry after it;
// what that line gained, which EraseEntry takes away again. A list whose
// last line continues (only at the end of the file, left so by a hand edit)
// ends so after quorbel.
std::string Append(std::vector<std::string>& lines, size_t end) {
    std::string& last = lines[end - 1];
    const bool dangling = Continues(last);
    if (dangling) {
        last.pop_back();
    }
    std::string trimmed = last;
    TrimEnd(trimmed);
    const bool ended = EndsWith(trimmed, "\\n");
    const bool empty = !trimmed.empty() && trimmed.back() == ':';
    const char* gained = ended ? "\\" : empty ? " \\" : " \\n\\";
    last += gained;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(end),
                 std::string("\t\t\t\t") + kQuorbelHack + " \\n" + (dangling ? "\\" : ""));
    return gained;
}

// Where an entry's on/off dash goes: after the key on the setting's line.
size_t EntryStart(const std::string& line, bool keyLine) { return keyLine ? line.find(':') + 1 : 0; }

// The dash put back where EnableQuorbel blanked it (dash, from the entry's
// start) or, not knowing that, at the first of the blanks before the entry.
void TurnOff(std::vector<std::string>& lines, size_t first, const Hack& hack, std::optional<size_t> dash) {
    std::string& line = lines[hack.line];
    const size_t start = EntryStart(line, hack.line == first);
    if (dash && start + *dash < SkipBlanks(line, start)) {
        line[start + *dash] = '-';
    } else if (SkipBlanks(line, start) > start) {
        line[start] = '-';
    } else {
        line.insert(start, "-");
    }
}

// The entry taken out; when it ended the list, the line before it loses
// what Append gave it (listEnd, then cleared) or, not knowing that, its
// continuation.
void EraseEntry(std::vector<std::string>& lines, size_t first, const Hack& hack, std::string& listEnd) {
    const bool wasLast = hack.lastLine + 1 == SettingEnd(lines, first);
    const bool dangling = Continues(lines[hack.lastLine]);
    size_t eraseFrom = hack.line;
    if (hack.line == first) {  // on the setting's own line: keep its key
        lines[first].erase(lines[first].find(':') + 1);
        lines[first] += wasLast && !dangling ? "" : "\t\\";
        eraseFrom = first + 1;
    }
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(eraseFrom),
                lines.begin() + static_cast<std::ptrdiff_t>(hack.lastLine + 1));
    const std::string gained = std::exchange(listEnd, "");
    if (!wasLast || hack.line == first) {
        return;
    }
    std::string& before = lines[hack.line - 1];
    if (!gained.empty() && EndsWith(before, gained)) {
        before.erase(before.size() - gained.size());
        before += dangling ? "\\" : "";
    } else if (!dangling) {
        // The entry before now ends the setting.
        TrimEnd(before);
        if (Continues(before)) {
            before.pop_back();
        }
    }
}

// The list EnableQuorbel added, with the blank line it put before it, taken
// out again while it is as it was added.
bool EraseList(std::vector<std::string>& lines, std::uint64_t listHash) {
    const std::optional<size_t> first = ProgramsLine(lines, false);
    if (!first) {
        return false;
    }
    const auto end = lines.begin() + static_cast<std::ptrdiff_t>(SettingEnd(lines, *first));
    for (size_t from : {*first - (*first > 0 && lines[*first - 1].empty() ? 1 : 0), *first}) {
        const auto start = lines.begin() + static_cast<std::ptrdiff_t>(from);
        if (TextHash(Joined(std::vector<std::string>(start, end), "\n")) == listHash) {
            lines.erase(start, end);
            return true;
        }
    }
    return false;
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
    return Joined(setting, "\n");
}

std::optional<std::string> LineEnd(const std::string& text) {
    size_t newlines = 0;
    size_t returns = 0;
    for (size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\n') {
            ++newlines;
        } else if (text[at] == '\r') {
            if (at + 1 == text.size() || text[at + 1] != '\n') {
                return std::nullopt;
            }
            ++returns;
        }
    }
    if (returns == 0) {
        return "\n";
    }
    return returns == newlines ? std::optional<std::string>("\r\n") : std::nullopt;
}

std::optional<EnableResult> EnableQuorbel(const std::string& userFile,
                                          const std::optional<std::string>& programsFromDefaults, bool only) {
    const std::string lineEnd = LineEnd(userFile).value_or("\n");
    std::vector<std::string> lines = Lines(userFile);
    std::optional<size_t> first = ProgramsLine(lines, false);
    Layout layout;
    if (!first) {
        if (!programsFromDefaults) {
            return std::nullopt;
        }
        std::vector<std::string> added = Lines(*programsFromDefaults);
        if (!lines.empty() && !lines.back().empty()) {
            added.insert(added.begin(), "");
        }
        layout.listHash = TextHash(Joined(added, "\n"));
        lines.insert(lines.end(), added.begin(), added.end());
        first = ProgramsLine(lines, false);
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
        const size_t dash = SkipBlanks(line, EntryStart(line, hack.line == *first));
        if (hack.on) {
            outcome = EnableOutcome::AlreadyOn;
        } else if (dash < line.size() && line[dash] == '-') {
            line[dash] = ' ';
            layout.dash = dash - EntryStart(line, hack.line == *first);
            outcome = EnableOutcome::TurnedOn;
        } else {
            break;  // laid out as XScreenSaver never writes it: list it again, on
        }
        number = i;
    }
    if (!outcome) {
        layout.listEnd = Append(lines, end);
        outcome = EnableOutcome::Added;
    }
    Selection before{Value(lines, "mode"), Value(lines, "selected"), ""};
    const std::optional<long> selected = SelectedNumber(before.selected);
    if (selected && static_cast<size_t>(*selected) < hacks.size()) {
        before.hack = hacks[static_cast<size_t>(*selected)].entry;
    }
    if (only && (before.mode != "one" || before.selected != std::to_string(number))) {
        SetValue(lines, "mode", "one");
        SetValue(lines, "selected", std::to_string(number));
        return EnableResult{*outcome, Joined(lines, lineEnd, FinalEnd(userFile)), before, layout};
    }
    if (*outcome == EnableOutcome::AlreadyOn) {
        return EnableResult{*outcome, userFile, std::nullopt, layout};
    }
    return EnableResult{*outcome, Joined(lines, lineEnd, FinalEnd(userFile)), std::nullopt, layout};
}

std::optional<RemoveResult> RemoveQuorbel(const std::string& userFile, const std::optional<Changes>& changes) {
    std::vector<std::string> lines = Lines(userFile);
    const std::optional<size_t> first = ProgramsLine(lines, false);
    RemoveResult result;
    result.text = userFile;
    if (!first) {
        return result;
    }
    const std::vector<Hack> hacks = Hacks(lines, *first, SettingEnd(lines, *first));
    enum class Fate { Other, Keep, TurnOff, Remove };
    std::vector<Fate> fates(hacks.size(), Fate::Other);
    bool firstQuorbel = true;
    for (size_t i = 0; i < hacks.size(); ++i) {
        const Hack& hack = hacks[i];
        if (!IsQuorbel(hack.command)) {
            continue;
        }
        Fate& fate = fates[i];
        if (!changes) {
            fate = hack.entry == kQuorbelHack ? Fate::Remove : hack.on ? Fate::TurnOff : Fate::Keep;
        } else if (changes->entry == EnableOutcome::Added) {
            fate = Fate::Remove;
        } else {
            fate = changes->entry == EnableOutcome::TurnedOn && firstQuorbel && hack.on ? Fate::TurnOff : Fate::Keep;
        }
        firstQuorbel = false;
        const bool sharesLine = (i > 0 && hacks[i - 1].lastLine >= hack.line) ||
                                (i + 1 < hacks.size() && hacks[i + 1].line <= hack.lastLine);
        if (fate != Fate::Keep && sharesLine) {
            return std::nullopt;
        }
        result.kept += fate == Fate::Keep && hack.on ? 1 : 0;
    }
    // From the last, so that the line numbers of those before stay right.
    const Layout layout = changes ? changes->layout : Layout{};
    std::string listEnd = layout.listEnd;
    for (size_t i = hacks.size(); i-- > 0;) {
        if (fates[i] == Fate::TurnOff) {
            TurnOff(lines, *first, hacks[i], layout.dash);
            ++result.turnedOff;
        } else if (fates[i] == Fate::Remove) {
            EraseEntry(lines, *first, hacks[i], listEnd);
            ++result.removed;
        }
    }
    // An entry's number once those taken out before it are gone.
    auto numberAfter = [&](long number) {
        long after = number;
        for (size_t i = 0; i < hacks.size() && static_cast<long>(i) < number; ++i) {
            after -= fates[i] == Fate::Remove ? 1 : 0;
        }
        return after;
    };
    const std::optional<long> selected = SelectedNumber(Value(lines, "selected"));
    const Fate shown =
        selected && static_cast<size_t>(*selected) < hacks.size() ? fates[static_cast<size_t>(*selected)] : Fate::Other;
    const bool shownAlone = Value(lines, "mode") == "one";
    if (shownAlone && shown != Fate::Other && changes && changes->replaced) {
        const Selection& back = *changes->replaced;
        std::string number = back.selected;
        if (!back.hack.empty()) {
            number = "-1";
            for (size_t i = 0; i < hacks.size() && number == "-1"; ++i) {
                if (fates[i] != Fate::Remove && hacks[i].entry == back.hack) {
                    number = std::to_string(numberAfter(static_cast<long>(i)));
                }
            }
        }
        // A hack shown alone that is no longer listed gives way to random mode.
        SetValue(lines, "mode", back.mode == "one" && number == "-1" ? "random" : back.mode);
        SetValue(lines, "selected", number);
        result.wasSelected = true;
    } else if (shownAlone && (shown == Fate::Remove || shown == Fate::TurnOff)) {
        SetValue(lines, "mode", "random");
        SetValue(lines, "selected", "-1");
        result.wasSelected = true;
    } else if (shown == Fate::Remove) {
        SetValue(lines, "selected", "-1");
        result.wasSelected = true;
    } else if (selected && numberAfter(*selected) != *selected) {
        SetValue(lines, "selected", std::to_string(numberAfter(*selected)));
    }
    const bool listErased = layout.listHash && result.removed > 0 && EraseList(lines, *layout.listHash);
    if (result.removed > 0 || result.turnedOff > 0 || result.wasSelected || listErased) {
        result.text = Joined(lines, LineEnd(userFile).value_or("\n"), FinalEnd(userFile));
    }
    return result;
}
