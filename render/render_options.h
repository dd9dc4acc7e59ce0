// quorbel-render's command line: the settings options every native program
// takes (settings/command_line_options.h), plus the picture size, the run's
// length and the outputs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "display/display_scale.h"
#include "display/paint_target.h"
#include "settings/command_line_options.h"

// The most pixels a side may have: GIF sizes are 16-bit, and a frame this
// size is already 256 MB.
constexpr int kLargestSide = 16384;

struct RenderOptions {
    SaverOptions saver;
    ClientSize resolution{1024, 768};  // in device pixels
    int scale = 1;                     // device pixels a side per sprite pixel
    uint32_t ticks = 300;
    uint32_t every = 1;  // the GIF keeps every K-th tick
    bool quiet = false;
    std::optional<ProgramRequest> request;  // --help or --version: nothing else is done
    std::string png;                        // empty: not asked for
    std::string gif;                        // empty: not asked for
    std::string trace;                      // empty: not asked for; "-": standard output
};

// The options, or the one line that says what is wrong.
struct ParsedRenderOptions {
    std::optional<RenderOptions> options;
    std::string error;
};

ParsedRenderOptions ParseRenderOptions(int argc, const char* const* argv);

std::string RenderUsage();
