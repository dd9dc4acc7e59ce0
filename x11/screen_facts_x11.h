// What the X display tells about its DPI, for choosing a scale.
#pragma once

#include <X11/Xlib.h>

#include "x11/auto_scale.h"

// The Xft.dpi resource (as xrdb loads it) and the default screen's size in
// pixels and millimetres.
ScreenFacts ReadScreenFacts(Display* display);
