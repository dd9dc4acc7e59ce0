#include "x11/x_connection_x11.h"

#include <unistd.h>

#include <cstdio>

namespace {

// Xlib's error handlers are process-wide and take no context.
std::optional<std::string> firstError;

int KeepError(Display* display, XErrorEvent* event) {
    if (!firstError) {
        char text[160] = "";
        XGetErrorText(display, event->error_code, text, sizeof text);
        char where[96];
        std::snprintf(where, sizeof where, " (request %d, resource 0x%lx)", event->request_code, event->resourceid);
        firstError = std::string(text) + where;
    }
    return 0;
}

[[noreturn]] int ConnectionLost(Display* display) {
    std::fprintf(stderr, "quorbel: lost the connection to the X server %s\n", DisplayString(display));
    // The server frees our resources with the connection; exit-time handlers
    // could call Xlib again, so leave at once.
    std::fflush(stderr);
    _exit(1);
}

}  // namespace

std::unique_ptr<XConnection> XConnection::Open(const std::string& name, std::string* error) {
    Display* display = XOpenDisplay(name.empty() ? nullptr : name.c_str());
    if (display == nullptr) {
        const char* shown = name.empty() ? XDisplayName(nullptr) : name.c_str();
        *error = std::string("cannot open the X display \"") + (shown ? shown : "") + "\"";
        return nullptr;
    }
    XSetErrorHandler(KeepError);
    XSetIOErrorHandler(ConnectionLost);
    firstError.reset();
    return std::unique_ptr<XConnection>(new XConnection(display));
}

XConnection::~XConnection() { XCloseDisplay(display_); }

std::optional<std::string> XConnection::syncAndTakeError() {
    XSync(display_, False);
    return takeError();
}

std::optional<std::string> XConnection::takeError() {
    std::optional<std::string> error;
    error.swap(firstError);
    return error;
}

bool XConnection::failsAlone(const std::function<bool()>& request) {
    XSync(display_, False);
    std::optional<std::string> earlier;
    earlier.swap(firstError);
    const bool sent = request();
    XSync(display_, False);
    const bool failed = !sent || firstError.has_value();
    firstError = earlier;
    return failed;
}
