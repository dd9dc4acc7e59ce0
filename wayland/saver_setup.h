// What "quorbel-wayland --enable" makes, and its record of that for
// --remove: the settings file, an XDG autostart entry that starts the idle
// waiter at login (GNOME, KDE Plasma and most desktops read that folder;
// sway does not, and is told the line for its configuration instead), and
// the folders made to hold them. Portable: text in, text out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The waiter as the autostart entry and sway's configuration start it: its
// idle time from the settings file.
constexpr char kWaiterCommand[] = "quorbel-wayland --idle";

struct SetupFiles {
    std::string settings;        // <config>/quorbel/quorbel-wayland.conf
    std::string autostartEntry;  // <config>/autostart/quorbel-wayland.desktop
    std::string record;          // <state>/quorbel/wayland-changes
};
SetupFiles SetupFilesUnder(const std::string& configHome, const std::string& stateHome);

// The entry, with TryExec so that it does nothing once the package is gone
// (it is the user's file, which a package cannot take away).
std::string AutostartEntryText();

// From $SWAYSOCK and $XDG_CURRENT_DESKTOP.
bool IsSway(const std::string& swaySock, const std::string& currentDesktop);

struct SetupRecord {
    struct File {
        std::string path;
        std::uint64_t hash;                 // TextHash of what it last wrote there
        std::optional<std::string> before;  // a file of the user's it edited: what it held before
    };
    std::vector<File> files;
    std::vector<std::string> madeFolders;  // outermost first
    bool sway = false;                     // enabled on sway: the configuration line is the user's to delete
};

std::string SetupRecordText(const SetupRecord& record);

// Nothing when the text is no record (an empty text neither).
std::optional<SetupRecord> ParseSetupRecord(const std::string& text);

// The file at path as recorded; or nothing.
const SetupRecord::File* RecordedFile(const SetupRecord& record, const std::string& path);
