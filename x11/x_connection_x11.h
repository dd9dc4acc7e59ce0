// The connection to the X server. A lost connection ends the program at once
// with a message and exit code 1 (Xlib allows no recovery from it); protocol
// errors are kept, not fatal, so the caller can name them and end cleanly.
#pragma once

#include <X11/Xlib.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class XConnection {
public:
    // nullptr, with a message, when the display cannot be opened. An empty
    // name means $DISPLAY.
    static std::unique_ptr<XConnection> Open(const std::string& name, std::string* error);
    ~XConnection();
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;

    Display* display() const { return display_; }
    int fd() const { return ConnectionNumber(display_); }

    // The first protocol error since the last call, as text, after waiting
    // for the server to answer everything sent so far.
    std::optional<std::string> syncAndTakeError();
    // The same without the round trip: only errors already received.
    std::optional<std::string> takeError();
    // Whether request (which sends requests and says whether Xlib took them)
    // fails, judged by its own errors only: any error before it is kept, to
    // be taken as usual, and is not read as the request's.
    bool failsAlone(const std::function<bool()>& request);

private:
    explicit XConnection(Display* display) : display_(display) {}
    Display* display_;
};
