#include "x11/hack_window_x11.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr long kEvents = ExposureMask | StructureNotifyMask;
constexpr int kOwnWidth = 1024;
constexpr int kOwnHeight = 768;

std::string Hex(unsigned long id) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%lx", id);
    return text;
}

const char* VisualClassName(int visualClass) {
    switch (visualClass) {
        case StaticGray:
            return "StaticGray";
        case GrayScale:
            return "GrayScale";
        case StaticColor:
            return "StaticColor";
        case PseudoColor:
            return "PseudoColor";
        case TrueColor:
            return "TrueColor";
        case DirectColor:
            return "DirectColor";
        default:
            return "unknown";
    }
}

bool UsableVisual(const Visual* visual, int depth) {
    return visual != nullptr && visual->c_class == TrueColor && (depth == 24 || depth == 32);
}

// A window manager or XScreenSaver may cover the root with a window that
// carries __SWM_VROOT; hacks draw there instead.
Window VirtualRoot(Display* display, Window root) {
    const Atom vroot = XInternAtom(display, "__SWM_VROOT", False);
    Window rootReturn = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    Window found = root;
    if (XQueryTree(display, root, &rootReturn, &parent, &children, &count) == 0) {
        return root;
    }
    for (unsigned int i = 0; i < count && found == root; ++i) {
        Atom type = None;
        int format = 0;
        unsigned long items = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, children[i], vroot, 0, 1, False, XA_WINDOW, &type, &format, &items, &after,
                               &data) == Success &&
            type == XA_WINDOW && format == 32 && items == 1 && data != nullptr) {
            found = *reinterpret_cast<Window*>(data);
        }
        if (data != nullptr) {
            XFree(data);
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

bool CreateOwnWindow(Display* display, HackWindow* window, std::string* error) {
    const int screen = DefaultScreen(display);
    Visual* visual = DefaultVisual(display, screen);
    int depth = DefaultDepth(display, screen);
    Colormap colormap = DefaultColormap(display, screen);
    if (!UsableVisual(visual, depth)) {
        // Another visual of the screen may do where the default does not.
        XVisualInfo info;
        if (XMatchVisualInfo(display, screen, 24, TrueColor, &info) == 0 &&
            XMatchVisualInfo(display, screen, 32, TrueColor, &info) == 0) {
            *error = std::string("the screen has no TrueColor visual of 24 or 32 bits (its default is ") +
                     VisualClassName(visual->c_class) + ", depth " + std::to_string(depth) + ")";
            return false;
        }
        visual = info.visual;
        depth = info.depth;
        colormap = XCreateColormap(display, RootWindow(display, screen), visual, AllocNone);
        window->colormap = colormap;
    }
    const int width = std::min(kOwnWidth, DisplayWidth(display, screen));
    const int height = std::min(kOwnHeight, DisplayHeight(display, screen));
    XSetWindowAttributes attributes{};
    attributes.background_pixel = 0;
    attributes.border_pixel = 0;
    attributes.colormap = colormap;
    attributes.event_mask = kEvents;
    window->window = XCreateWindow(display, RootWindow(display, screen), 0, 0, width, height, 0, depth, InputOutput,
                                   visual, CWBackPixel | CWBorderPixel | CWColormap | CWEventMask, &attributes);
    window->own = true;
    XStoreName(display, window->window, "Quorbel");
    XClassHint hint{const_cast<char*>("quorbel"), const_cast<char*>("Quorbel")};
    XSetClassHint(display, window->window, &hint);
    window->deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window->window, &window->deleteWindow, 1);
    XMapWindow(display, window->window);
    return true;
}

}  // namespace

bool OpenHackWindow(XConnection& connection, const HackOptions& options, HackWindow* window, std::string* error) {
    Display* display = connection.display();
    *window = HackWindow{};
    if (options.window == WindowChoice::Own) {
        if (!CreateOwnWindow(display, window, error)) {
            return false;
        }
    } else if (options.window == WindowChoice::Root) {
        window->window = VirtualRoot(display, DefaultRootWindow(display));
    } else {
        window->window = options.windowId;
    }

    XWindowAttributes attributes;
    const Status status = XGetWindowAttributes(display, window->window, &attributes);
    if (const auto failure = connection.syncAndTakeError(); failure || status == 0) {
        *error = "cannot use window " + Hex(window->window) + ": " + failure.value_or("no such window");
        return false;
    }
    if (!UsableVisual(attributes.visual, attributes.depth)) {
        *error = "window " + Hex(window->window) + " has a " + VisualClassName(attributes.visual->c_class) +
                 " visual of depth " + std::to_string(attributes.depth) +
                 "; quorbel draws only on TrueColor visuals of 24 or 32 bits";
        return false;
    }
    window->visual = attributes.visual;
    window->depth = attributes.depth;
    window->size = {attributes.width, attributes.height};
    if (!window->own) {
        // Our own selection on someone else's window: theirs is untouched.
        XSelectInput(display, window->window, kEvents);
    }
    return true;
}

void CloseHackWindow(XConnection& connection, const HackWindow& window, bool windowGone) {
    if (window.own && !windowGone) {
        XDestroyWindow(connection.display(), window.window);
    }
    if (window.colormap != 0) {
        XFreeColormap(connection.display(), window.colormap);
    }
}
