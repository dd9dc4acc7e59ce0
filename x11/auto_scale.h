// The scale the X11 saver takes when none is given, from what the display
// tells about itself. Portable: no X11 headers.
#pragma once

#include <optional>
#include <string>

#include "display/paint_target.h"

struct ScreenFacts {
    std::optional<std::string> xftDpi;  // the Xft.dpi resource, when set
    ClientSize pixels;
    ClientSize millimetres;  // as the server reports them, maybe 0 or made up
};

// Xft.dpi when it is a number of dots per inch; else the DPI of the screen's
// size in millimetres when that is plausible (a desktop monitor to a phone);
// else 2 for a screen wider or taller than 2560 pixels, as XScreenSaver's
// own hacks do, and 1 for any other.
int AutoScale(const ScreenFacts& facts);
