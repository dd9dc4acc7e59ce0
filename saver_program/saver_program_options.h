// The command line the Linux saver programs (the X11 hack, the Wayland
// saver) share: the settings options and --seed, -h/--help and --version,
// and
//
//   --window             a window of its own (what that means is the front end's)
//   --ticks 0..4294967295  stop ticking after that many ticks, keeping the picture up
//   --scale auto|1..4    device pixels per sprite pixel; auto: the front end's choice
//
// with the spellings of every native program (settings/command_line_options.h):
// one or two dashes, the value as the next argument or after '='. A front
// end with options of its own passes a function that takes them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "settings/command_line_options.h"

struct SaverProgramOptions {
    bool window = false;  // --window was the last say on where to draw
    std::optional<uint32_t> ticks;
    int scale = 0;                          // 1..kMaxDisplayScale; 0 for auto, the default
    std::optional<ProgramRequest> request;  // --help or --version, the first one given
    SaverOptions saver;
};

// The help lines of the shared options, each with the front end's words
// for it, to put in its own section of ProgramHelp in its own order.
constexpr OptionHelp WindowOptionHelp(const char* description) { return {"window", nullptr, description}; }
constexpr OptionHelp TicksOptionHelp(
    const char* description = "Stop ticking after this many ticks, keeping the picture up") {
    return {"ticks", "0..4294967295", description};
}
constexpr OptionHelp ScaleOptionHelp(const char* description) { return {"scale", "auto|1|2|3|4", description}; }

// A front end's own option: called with each argument that is none of the
// shared ones (spelling is that argument read as an option). It applies the
// option and returns Consumed with the arguments used, Error with a one-line
// message, or NotMine.
using FrontEndOption = std::function<OptionResult(int argc, const char* const* argv, int index,
                                                  const OptionSpelling& spelling, SaverProgramOptions& options)>;

// Reads argv[1..argc-1] into *options. `listed` is the front end's own help
// section (the shared options among them); an unknown option's message
// names those, then the settings options, --help and --version. frontEnd
// may be empty. A later option overrides an earlier one. On a bad or unknown
// option returns false with one line naming it and what is accepted; *options
// is then left as it was.
bool ParseSaverProgramOptions(int argc, const char* const* argv, const OptionHelp* listed, size_t listedCount,
                              const FrontEndOption& frontEnd, SaverProgramOptions* options, std::string* error);
