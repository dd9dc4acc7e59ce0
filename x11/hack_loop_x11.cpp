#include "x11/hack_loop_x11.h"

#include <poll.h>

#include <cerrno>
#include <cstring>

#include "display/display_scale.h"
#include "display/tick_pacer.h"

namespace {

class HackLoop {
public:
    HackLoop(XConnection& connection, HackWindow& window, WindowPainter& painter, int scale, Saver& saver)
        : display_(connection.display()), window_(window), painter_(painter), scale_(scale), saver_(saver) {
        wmProtocols_ = XInternAtom(display_, "WM_PROTOCOLS", False);
    }

    // Handles every event queued; false once the loop should end.
    bool handleEvents() {
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            handle(event);
        }
        if (pendingSize_) {
            // Only the last of a burst of size changes counts.
            window_.size = *pendingSize_;
            pendingSize_.reset();
            painter_.resize(window_.size);
            saver_.resize(LogicalSize(window_.size, scale_));
            // Black at once, not only when the next tick clears: exposures
            // of the new size came while the picture had the old one.
            painter_.repaint({0, 0, window_.size.width, window_.size.height});
        }
        return !end_;
    }

    HackLoopEnd end() const { return end_.value_or(HackLoopEnd{0, "", false}); }

    void endWith(const HackLoopEnd& end) {
        if (!end_) {
            end_ = end;
        }
    }

private:
    void handle(const XEvent& event) {
        if (event.xany.window != window_.window) {
            return;
        }
        switch (event.type) {
            case Expose: {
                const XExposeEvent& e = event.xexpose;
                painter_.repaint({e.x, e.y, e.x + e.width, e.y + e.height});
                break;
            }
            case ConfigureNotify: {
                const ClientSize size{event.xconfigure.width, event.xconfigure.height};
                const ClientSize current = pendingSize_.value_or(window_.size);
                if (size.width != current.width || size.height != current.height) {
                    pendingSize_ = size;
                }
                break;
            }
            case ClientMessage:
                if (window_.own && event.xclient.message_type == wmProtocols_ && event.xclient.format == 32 &&
                    static_cast<Atom>(event.xclient.data.l[0]) == window_.deleteWindow) {
                    endWith({0, "", false});
                }
                break;
            case DestroyNotify:
                endWith({0, "", true});
                break;
            default:
                break;
        }
    }

    Display* display_;
    HackWindow& window_;
    WindowPainter& painter_;
    int scale_;
    Saver& saver_;
    Atom wmProtocols_;
    std::optional<ClientSize> pendingSize_;
    std::optional<HackLoopEnd> end_;
};

}  // namespace

HackLoopEnd RunHackLoop(XConnection& connection, HackWindow& window, WindowPainter& painter, int scale, Saver& saver,
                        const StopSignals& signals, std::optional<uint64_t> ticks) {
    HackLoop loop(connection, window, painter, scale, saver);
    ScaledTarget scaled(painter, scale);
    // At scale 1 the painter directly, as before scaling existed.
    PaintTarget& target = scale > 1 ? static_cast<PaintTarget&>(scaled) : painter;
    uint64_t ticksDone = 0;
    TickPacer pacer(TickPacer::Clock::now(), saver.tickDelay());
    for (;;) {
        if (!loop.handleEvents()) {
            break;
        }
        if (const auto error = connection.takeError()) {
            loop.endWith({1, "X error: " + *error, false});
            break;
        }
        const bool ticking = !ticks || ticksDone < *ticks;
        int timeout = -1;
        if (ticking) {
            const auto now = TickPacer::Clock::now();
            if (pacer.due(now)) {
                saver.tick(target);
                painter.present();
                ++ticksDone;
                pacer.ticked(saver.tickDelay(), TickPacer::Clock::now());
                continue;
            }
            timeout = pacer.millisecondsUntilDue(now);
        }
        // Drawing may have read events into Xlib's queue, where poll() cannot
        // see them: handle those first.
        if (XEventsQueued(connection.display(), QueuedAlready) > 0) {
            continue;
        }
        pollfd fds[2] = {{connection.fd(), POLLIN, 0}, {signals.fd(), POLLIN, 0}};
        if (poll(fds, 2, timeout) < 0 && errno != EINTR) {
            loop.endWith({1, std::string("poll failed: ") + std::strerror(errno), false});
            break;
        }
        if (fds[1].revents != 0) {
            break;
        }
    }
    return loop.end();
}
