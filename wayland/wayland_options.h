// The command line of the Wayland saver: the Linux savers' shared options
// (the settings, --window, --ticks, --scale, -h/--help, --version) with its
// own words for them; it has none of its own. Portable: no Wayland headers.
#pragma once

#include <string>

#include "saver_program/saver_program_options.h"

// --window: an ordinary window that input does not end, instead of full
// screen on every output; --scale auto (0): each output's own scale.
using WaylandOptions = SaverProgramOptions;

// Reads argv[1..argc-1]. On a bad option returns false with one line naming
// it and what is accepted.
bool ParseWaylandOptions(int argc, const char* const* argv, WaylandOptions* options, std::string* error);

// The --help text.
std::string WaylandUsage();
