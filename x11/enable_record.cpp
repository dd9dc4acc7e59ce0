#include "x11/enable_record.h"

#include <algorithm>
#include <sstream>

namespace {

constexpr char kAdded[] = "added";
constexpr char kTurnedOn[] = "turned-on";

}  // namespace

std::string RecordText(const EnableRecord& record) {
    std::string text;
    if (record.madeFile) {
        text += "made " + HashText(*record.madeFile) + "\n";
    }
    for (const std::string& folder : record.madeFolders) {
        if (folder.find('\n') == std::string::npos) {
            text += "folder " + folder + "\n";
        }
    }
    if (record.changes.entry != EnableOutcome::AlreadyOn) {
        text += std::string("entry ") + (record.changes.entry == EnableOutcome::Added ? kAdded : kTurnedOn) + "\n";
    }
    if (const std::optional<Selection>& replaced = record.changes.replaced) {
        text += "replaced " + replaced->mode + "\t" + replaced->selected + "\t" + replaced->hack + "\n";
    }
    const Layout& layout = record.changes.layout;
    if (layout.dash) {
        text += "dash " + std::to_string(*layout.dash) + "\n";
    }
    if (!layout.listEnd.empty()) {
        text += "end " + layout.listEnd + "\n";
    }
    if (layout.listHash) {
        text += "list " + HashText(*layout.listHash) + "\n";
    }
    return text;
}

std::optional<EnableRecord> ParseRecord(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    EnableRecord record;
    Layout& layout = record.changes.layout;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        const size_t space = line.find(' ');
        const std::string key = line.substr(0, space);
        const std::string value = space == std::string::npos ? "" : line.substr(space + 1);
        if (key == "made" && HashOf(value)) {
            record.madeFile = HashOf(value);
        } else if (key == "list" && HashOf(value)) {
            layout.listHash = HashOf(value);
        } else if (key == "dash" && !value.empty() && value.size() < 6 &&
                   value.find_first_not_of("0123456789") == std::string::npos) {
            layout.dash = std::stoul(value);
        } else if (key == "end" && !value.empty() && value.find_first_not_of(" \\n") == std::string::npos) {
            layout.listEnd = value;
        } else if (key == "folder" && !value.empty() && value[0] == '/') {
            record.madeFolders.push_back(value);
        } else if (key == "entry" && (value == kAdded || value == kTurnedOn)) {
            record.changes.entry = value == kAdded ? EnableOutcome::Added : EnableOutcome::TurnedOn;
        } else if (key == "replaced" && std::count(value.begin(), value.end(), '\t') == 2) {
            const size_t tab = value.find('\t');
            const size_t second = value.find('\t', tab + 1);
            record.changes.replaced =
                Selection{value.substr(0, tab), value.substr(tab + 1, second - tab - 1), value.substr(second + 1)};
        } else {
            return std::nullopt;
        }
    }
    return record;
}

EnableRecord Updated(const std::optional<EnableRecord>& record, const std::optional<std::string>& fileBefore,
                     const EnableResult& result) {
    EnableRecord next = record.value_or(EnableRecord{});
    // Still the file it made while nobody else has changed it.
    const bool made = !fileBefore || (next.madeFile && *next.madeFile == TextHash(*fileBefore));
    next.madeFile = made ? std::optional<std::uint64_t>(TextHash(result.text)) : std::nullopt;
    // An entry it added stays its own, also once turned off and on again.
    if (result.outcome == EnableOutcome::Added || next.changes.entry != EnableOutcome::Added) {
        next.changes.entry = result.outcome == EnableOutcome::AlreadyOn ? next.changes.entry : result.outcome;
    }
    if (result.replaced) {
        next.changes.replaced = result.replaced;
    }
    Layout& layout = next.changes.layout;
    if (result.outcome == EnableOutcome::TurnedOn) {
        layout.dash = result.layout.dash;
    } else if (result.outcome == EnableOutcome::Added) {
        layout.listEnd = result.layout.listEnd;
    }
    if (result.layout.listHash) {
        layout.listHash = result.layout.listHash;
    }
    return next;
}
