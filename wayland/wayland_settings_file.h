// The Wayland saver's settings, kept by "quorbel-wayland --enable" in one
// small file of the user's ($XDG_CONFIG_HOME/quorbel/quorbel-wayland.conf):
// the idle time and the settings options, one a line, by the command line's
// names, the value after a blank or '=' ("idle 300", "speed 19",
// "--species=6"); '#' starts a comment line. The waiter reads the idle time
// when it starts and the settings at each showing; options on the command
// line win over the file. Portable: text in, text out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "wayland/wayland_options.h"

constexpr uint32_t kDefaultIdleSeconds = 300;

struct WaylandSettingsFile {
    std::optional<uint32_t> idleSeconds;
    std::vector<std::string> arguments;  // the good lines as command-line arguments: "--speed", "19", ...
    std::vector<std::string> problems;   // a bad line each: its number, what is wrong, the default used
};

WaylandSettingsFile ReadWaylandSettingsFile(const std::string& text);

// The options of a showing: the file's, then argv[1..argc-1]'s over them.
bool ParseWaylandOptionsOverFile(const WaylandSettingsFile& file, int argc, const char* const* argv,
                                 WaylandOptions* options, std::string* error);

// The file's text with each line's option set: where the file names it (the
// last time, which counts), that line is replaced; otherwise it is added at
// the end. Every other byte stays. An empty text starts with a comment that
// says what the file is.
std::string WithSettingLines(const std::string& text, const std::vector<SettingLine>& lines);
