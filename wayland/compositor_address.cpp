#include "wayland/compositor_address.h"

#include <cstdlib>
#include <cstring>

namespace {

std::optional<std::string> Value(const char* text) { return text ? std::optional<std::string>(text) : std::nullopt; }

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

CompositorAddress::CompositorAddress(const char* socket, const char* display, const char* runtimeDir)
    : socket_(Value(socket)), display_(Value(display)), runtimeDir_(Value(runtimeDir)) {}

CompositorAddress CompositorAddress::FromEnvironment() {
    return {std::getenv("WAYLAND_SOCKET"), std::getenv("WAYLAND_DISPLAY"), std::getenv("XDG_RUNTIME_DIR")};
}

std::string CompositorAddress::named() const {
    if (socket_) {
        return "WAYLAND_SOCKET is " + Quoted(*socket_);
    }
    return display_ ? "WAYLAND_DISPLAY is " + Quoted(*display_) : "WAYLAND_DISPLAY is not set";
}

std::string CompositorAddress::unusable() const {
    // A socket given, or a display named by its whole path, needs no folder.
    if (socket_ || (display_ && !display_->empty() && display_->front() == '/')) {
        return "";
    }
    if (!runtimeDir_) {
        return "XDG_RUNTIME_DIR is not set";
    }
    // Relative, it would be looked up from wherever the saver was started.
    return runtimeDir_->empty() || runtimeDir_->front() != '/'
               ? "XDG_RUNTIME_DIR is " + Quoted(*runtimeDir_) + ", not an absolute path"
               : "";
}

std::string CompositorAddress::whyNot(int error) const {
    // libwayland takes WAYLAND_SOCKET as it is or fails, often leaving errno 0.
    return socket_ ? "it names no open file descriptor" : ErrorText(error);
}

std::string ErrorText(int error) { return error != 0 ? std::strerror(error) : "no reason given"; }
