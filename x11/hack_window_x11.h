// The window the saver draws on: its own top-level window, the root (or the
// virtual root a desktop or XScreenSaver puts over it), or one given by
// number. Only TrueColor visuals of 24 or 32 bits are drawn on.
#pragma once

#include <X11/Xlib.h>

#include <string>

#include "display/paint_target.h"
#include "x11/hack_options.h"
#include "x11/x_connection_x11.h"

struct HackWindow {
    Window window = 0;
    bool own = false;  // created here, destroyed on close
    Visual* visual = nullptr;
    int depth = 0;
    ClientSize size{0, 0};
    Atom deleteWindow = 0;  // WM_DELETE_WINDOW, for our own window
    Colormap colormap = 0;  // made for our own window's visual; freed on close
};

// Finds or creates the window and asks for its exposures and size changes.
// False, with a message, when there is no such window or its visual will
// not do.
bool OpenHackWindow(XConnection& connection, const HackOptions& options, HackWindow* window, std::string* error);

// Destroys our own window (unless someone else already did) and frees its
// colormap; leaves any other window as it is.
void CloseHackWindow(XConnection& connection, const HackWindow& window, bool windowGone);
