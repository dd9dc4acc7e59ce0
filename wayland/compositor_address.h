// Where libwayland looks for the compositor, as the environment tells it,
// in words for the messages when that fails. Read before connecting, since
// libwayland unsets WAYLAND_SOCKET once it has taken it. Portable.
#pragma once

#include <optional>
#include <string>

class CompositorAddress {
public:
    // Each variable's value, or null when it is not set.
    CompositorAddress(const char* socket, const char* display, const char* runtimeDir);
    static CompositorAddress FromEnvironment();

    // 'WAYLAND_SOCKET is "5"', 'WAYLAND_DISPLAY is "wayland-1"' or
    // 'WAYLAND_DISPLAY is not set'.
    std::string named() const;
    // Why no compositor can be found there, known before trying (an unset
    // or relative XDG_RUNTIME_DIR); empty when it is worth a try.
    std::string unusable() const;
    // Why connecting failed, given errno.
    std::string whyNot(int error) const;

private:
    std::optional<std::string> socket_;
    std::optional<std::string> display_;
    std::optional<std::string> runtimeDir_;
};

// strerror, but never "Success": an error that sets no errno is said so.
std::string ErrorText(int error);
