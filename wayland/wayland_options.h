// The command line of the Wayland saver: the Linux savers' shared options
// (the settings, --window, --ticks, --scale, -h/--help, --version) with its
// own words for them, --idle [SECONDS], and --enable [SECONDS] and
// --remove. Portable: no Wayland headers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "saver_program/saver_program_options.h"

// The longest idle time: a day.
constexpr uint32_t kMaxIdleSeconds = 86400;

// --enable: start the saver on idle at every login and now; --remove: take
// that away again.
enum class SetupRequest { Enable, Remove };

// --window: an ordinary window that input does not end, instead of full
// screen on every output; --scale auto (0): each output's own scale.
struct WaylandOptions : SaverProgramOptions {
    std::optional<SetupRequest> setup;
    std::optional<uint32_t> enableSeconds;  // --enable's SECONDS, when given
    // --idle: wait for the session to be idle that long, show, and wait
    // again, for the whole session; its SECONDS when given (the settings
    // file's idle time otherwise, which the program puts here).
    bool idle = false;
    std::optional<uint32_t> idleSeconds;
};

// Reads argv[1..argc-1]. On a bad option returns false with one line naming
// it and what is accepted.
bool ParseWaylandOptions(int argc, const char* const* argv, WaylandOptions* options, std::string* error);

// An option's name and value, as the settings file writes them.
using SettingLine = std::pair<std::string, std::string>;

// The settings options among argv[1..argc-1] (which parsed well).
std::vector<SettingLine> GivenSettingOptions(int argc, const char* const* argv);

// The --help text.
std::string WaylandUsage();
