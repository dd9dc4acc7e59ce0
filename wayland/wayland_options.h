// The command line of the Wayland saver: the Linux savers' shared options
// (the settings, --window, --ticks, --scale, -h/--help, --version) with its
// own words for them, and --idle SECONDS. Portable: no Wayland headers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "saver_program/saver_program_options.h"

// --window: an ordinary window that input does not end, instead of full
// screen on every output; --scale auto (0): each output's own scale.
struct WaylandOptions : SaverProgramOptions {
    // --idle: wait that long without input, show, and wait again, for the
    // whole session.
    std::optional<uint32_t> idleSeconds;
};

// The longest --idle: a day.
constexpr uint32_t kMaxIdleSeconds = 86400;

// Reads argv[1..argc-1]. On a bad option returns false with one line naming
// it and what is accepted.
bool ParseWaylandOptions(int argc, const char* const* argv, WaylandOptions* options, std::string* error);

// The --help text.
std::string WaylandUsage();
