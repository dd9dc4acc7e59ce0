#include "wayland/compositor_wait_wayland.h"

#include <poll.h>

#include <cerrno>

namespace {

enum class Flushed { All, Some, Failed };

Flushed Flush(wl_display* display) {
    if (wl_display_flush(display) >= 0) {
        return Flushed::All;
    }
    return errno == EAGAIN ? Flushed::Some : Flushed::Failed;
}

}  // namespace

Waited WaitOnCompositor(wl_display* display, int stopFd, int timeout, pollfd* also) {
    if (also) {
        also->revents = 0;
    }
    if (wl_display_prepare_read(display) != 0) {
        return wl_display_dispatch_pending(display) < 0 ? Waited::Failed : Waited::Dispatched;
    }
    const Flushed flushed = Flush(display);
    if (flushed == Flushed::Failed) {
        wl_display_cancel_read(display);
        return Waited::Failed;
    }
    const short events = flushed == Flushed::Some ? POLLIN | POLLOUT : POLLIN;
    pollfd fds[3] = {{wl_display_get_fd(display), events, 0}, {stopFd, POLLIN, 0}, {-1, 0, 0}};
    if (also) {
        fds[2] = *also;
    }
    if (poll(fds, also ? 3 : 2, flushed == Flushed::Some ? -1 : timeout) < 0 && errno != EINTR) {
        wl_display_cancel_read(display);
        return Waited::Failed;
    }
    if ((fds[0].revents & (POLLIN | POLLERR | POLLHUP)) != 0) {
        if (wl_display_read_events(display) < 0) {
            return Waited::Failed;
        }
    } else {
        wl_display_cancel_read(display);
    }
    if (wl_display_dispatch_pending(display) < 0) {
        return Waited::Failed;
    }
    if (also) {
        also->revents = fds[2].revents;
    }
    return fds[1].revents != 0 ? Waited::Stopped : Waited::Dispatched;
}

bool AllWritten(wl_display* display) { return Flush(display) == Flushed::All; }

Waited RoundTrip(wl_display* display, int stopFd) {
    static const wl_callback_listener kAnswered = {
        [](void* answered, wl_callback*, uint32_t) { *static_cast<bool*>(answered) = true; }};
    bool answered = false;
    wl_callback* callback = wl_display_sync(display);
    wl_callback_add_listener(callback, &kAnswered, &answered);
    Waited waited = Waited::Dispatched;
    while (!answered && waited == Waited::Dispatched) {
        waited = WaitOnCompositor(display, stopFd, -1);
    }
    wl_callback_destroy(callback);
    return waited;
}
