// The command line of the X11 saver, read the way XScreenSaver's hacks read
// theirs: where to draw (--root, --window, --window-id, XSCREENSAVER_WINDOW),
// which display, and the options every Linux saver program takes (--ticks,
// --scale, the settings). One or two leading dashes are the same option, and
// a value may follow as the next argument or after '='. Portable: no X11
// headers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "saver_program/saver_program_options.h"

enum class WindowChoice {
    Own,   // a new top-level window titled "Quorbel"
    Root,  // the root window, or the virtual root a desktop provides
    Id,    // an existing window: --window-id or XSCREENSAVER_WINDOW
};

struct HackOptions {
    WindowChoice window = WindowChoice::Own;
    unsigned long windowId = 0;  // for WindowChoice::Id
    std::string display;         // empty: $DISPLAY
    // --ticks, --scale (0: chosen from the display), --help or --version
    // (then nothing else is done), the settings. Its `window` is folded
    // into `window` above.
    SaverProgramOptions program;
};

// A window number as XScreenSaver writes one: decimal or 0x-hex, blanks
// around it allowed. Zero (no window) and anything past 32 bits are refused.
std::optional<unsigned long> ParseWindowId(const std::string& text);

// Reads argv[1..argc-1]. xscreensaverWindow is the XSCREENSAVER_WINDOW
// environment variable (nullptr when unset): it names the window unless
// --window or --window-id says otherwise, also under --root, since that is
// how XScreenSaver hands a hack its window. A later window option overrides
// an earlier one. On a bad option returns false with one line naming it and
// what is accepted.
bool ParseHackOptions(int argc, const char* const* argv, const char* xscreensaverWindow, HackOptions* options,
                      std::string* error);

// The --help text: every option with what it takes, one per line.
std::string HackUsage();
