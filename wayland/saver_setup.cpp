#include "wayland/saver_setup.h"

#include <sstream>

#include "user_files/text_hash.h"

SetupFiles SetupFilesUnder(const std::string& configHome, const std::string& stateHome) {
    return {configHome + "/quorbel/quorbel-wayland.conf", configHome + "/autostart/quorbel-wayland.desktop",
            stateHome + "/quorbel/wayland-changes"};
}

std::string AutostartEntryText() {
    return std::string(
               "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=Quorbel screen saver\n"
               "Comment=Shows the Quorbel screen saver when the session is idle; made by quorbel-wayland --enable, "
               "taken away by quorbel-wayland --remove\n"
               "TryExec=quorbel-wayland\n"
               "Exec=") +
           kWaiterCommand +
           "\n"
           "NoDisplay=true\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool IsSway(const std::string& swaySock, const std::string& currentDesktop) {
    std::istringstream desktops(currentDesktop);
    for (std::string desktop; std::getline(desktops, desktop, ':');) {
        if (desktop == "sway") {
            return true;
        }
    }
    return !swaySock.empty();
}

namespace {

// A text on one line: backslashes and newlines escaped.
std::string OneLine(const std::string& text) {
    std::string line;
    for (const char c : text) {
        line += c == '\\' ? "\\\\" : c == '\n' ? "\\n" : std::string(1, c);
    }
    return line;
}

std::optional<std::string> FromOneLine(const std::string& line) {
    std::string text;
    for (size_t at = 0; at < line.size(); ++at) {
        if (line[at] != '\\') {
            text += line[at];
        } else if (++at < line.size() && (line[at] == '\\' || line[at] == 'n')) {
            text += line[at] == 'n' ? '\n' : '\\';
        } else {
            return std::nullopt;
        }
    }
    return text;
}

}  // namespace

std::string SetupRecordText(const SetupRecord& record) {
    std::string text;
    for (const SetupRecord::File& file : record.files) {
        text += (file.before ? "edited " : "made ") + HashText(file.hash) + " " + file.path + "\n";
        text += file.before ? "was " + OneLine(*file.before) + "\n" : "";
    }
    for (const std::string& folder : record.madeFolders) {
        text += "folder " + folder + "\n";
    }
    return text + (record.sway ? "sway\n" : "");
}

std::optional<SetupRecord> ParseSetupRecord(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    SetupRecord record;
    bool wasDue = false;  // an "edited" line is followed by what the file was
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        const size_t space = line.find(' ');
        const std::string key = line.substr(0, space);
        const std::string value = space == std::string::npos ? "" : line.substr(space + 1);
        const std::optional<std::uint64_t> hash = HashOf(value.substr(0, 16));
        if (wasDue) {
            if (key != "was" || !FromOneLine(value)) {
                return std::nullopt;
            }
            record.files.back().before = FromOneLine(value);
            wasDue = false;
        } else if ((key == "made" || key == "edited") && hash && value.size() > 18 && value[16] == ' ' &&
                   value[17] == '/') {
            record.files.push_back({value.substr(17), *hash, std::nullopt});
            wasDue = key == "edited";
        } else if (key == "folder" && !value.empty() && value[0] == '/') {
            record.madeFolders.push_back(value);
        } else if (line == "sway") {
            record.sway = true;
        } else {
            return std::nullopt;
        }
    }
    return wasDue ? std::nullopt : std::optional<SetupRecord>(record);
}

const SetupRecord::File* RecordedFile(const SetupRecord& record, const std::string& path) {
    for (const SetupRecord::File& file : record.files) {
        if (file.path == path) {
            return &file;
        }
    }
    return nullptr;
}
