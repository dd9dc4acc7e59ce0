// The command line of the Wayland saver: full screen on every output (the
// default) or --window, how many ticks, the sprite scale, and the settings
// options of every native front end. Portable: no Wayland headers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "settings/command_line_options.h"

struct WaylandOptions {
    bool window = false;  // an ordinary window that input does not end
    std::optional<uint32_t> ticks;
    int scale = 0;                          // device pixels per sprite pixel; 0: each output's own scale
    std::optional<ProgramRequest> request;  // --help or --version: nothing else is done
    SaverOptions saver;
};

// Reads argv[1..argc-1]. On a bad option returns false with one line naming
// it and what is accepted.
bool ParseWaylandOptions(int argc, const char* const* argv, WaylandOptions* options, std::string* error);

// The --help text.
std::string WaylandUsage();
