// What the X11 saver's tests do on the X server that no stock tool does:
//   x_test_tool create WxH    a window of that size with a white background,
//                             mapped; prints its id, then waits to be killed
//   x_test_tool delete ID     sends WM_DELETE_WINDOW to window ID, as a
//                             window manager's close button does
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int Create(Display* display, const char* size) {
    unsigned width = 0;
    unsigned height = 0;
    if (std::sscanf(size, "%ux%u", &width, &height) != 2 || width == 0 || height == 0) {
        std::fprintf(stderr, "x_test_tool: bad size %s\n", size);
        return 2;
    }
    const int screen = DefaultScreen(display);
    const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, width, height, 0,
                                              BlackPixel(display, screen), WhitePixel(display, screen));
    XStoreName(display, window, "quorbel test window");
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    for (XEvent event;;) {  // mapped once the server says so
        XNextEvent(display, &event);
        if (event.type == MapNotify) {
            break;
        }
    }
    std::printf("0x%lx\n", window);
    std::fflush(stdout);
    for (XEvent event;;) {
        XNextEvent(display, &event);
    }
}

int Delete(Display* display, const char* id) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = std::strtoul(id, nullptr, 0);
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
    XSync(display, False);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr || argc != 3) {
        std::fprintf(stderr, "usage: x_test_tool create WxH | delete ID   (with $DISPLAY set)\n");
        return 2;
    }
    if (std::strcmp(argv[1], "create") == 0) {
        return Create(display, argv[2]);
    }
    if (std::strcmp(argv[1], "delete") == 0) {
        return Delete(display, argv[2]);
    }
    return 2;
}
