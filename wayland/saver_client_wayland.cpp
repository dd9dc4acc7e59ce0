#include "wayland/saver_client_wayland.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "display/colour_target.h"
#include "resources/builtin_sheet.h"
#include "wayland/idle_monitor_dbus.h"
#include "wayland/idle_source_wayland.h"
#include "wayland/output_list.h"
#include "wayland/output_wayland.h"
#include "wayland/seat_wayland.h"

namespace {

char lastLogLine[256];

void KeepLogLine(const char* format, va_list args) {
    std::vsnprintf(lastLogLine, sizeof lastLogLine, format, args);
    lastLogLine[std::strcspn(lastLogLine, "\n")] = '\0';
}

constexpr char kNoIdleSource[] =
    "this desktop tells no idle time (no ext_idle_notifier_v1 or org_kde_kwin_idle, and no "
    "org.gnome.Mutter.IdleMonitor on the session bus): start quorbel-wayland without --idle from its own idle "
    "manager or a key binding instead";

using Outputs = OutputList<wl_output, SaverSurface>;

template <typename Global>
void Destroy(Global*& global, void (*destroy)(Global*)) {
    if (global) {
        destroy(global);
        global = nullptr;
    }
}

class WaylandSaver {
public:
    WaylandSaver(const WaylandOptions& options, ShowingOptions showingOptions)
        : options_(options), showingOptions_(std::move(showingOptions)) {
        context_.options = &shown_;
        context_.sprites = &sprites_;
        context_.scaleOf = [this](wl_output* output) { return outputs_.scaleOf(output); };
    }

    ~WaylandSaver() {
        endShowing();
        idle_.reset();
        while (!outputs_.entries().empty()) {
            wl_output_destroy(outputs_.remove(outputs_.entries().front()->name));
        }
        Destroy(idleSeat_, wl_seat_destroy);
        Destroy(extIdle_, ext_idle_notifier_v1_destroy);
        Destroy(kdeIdle_, org_kde_kwin_idle_destroy);
        Destroy(context_.wmBase, xdg_wm_base_destroy);
        Destroy(context_.shm, wl_shm_destroy);
        Destroy(context_.compositor, wl_compositor_destroy);
        Destroy(registry_, wl_registry_destroy);
        Destroy(display_, wl_display_disconnect);
    }

    ClientEnd run(const StopSignals& signals) {
        display_ = wl_display_connect(nullptr);
        if (!display_) {
            const char* name = std::getenv("WAYLAND_DISPLAY");
            return {1, std::string("cannot connect to a Wayland compositor (WAYLAND_DISPLAY ") +
                           (name ? std::string("is \"") + name + "\"" : std::string("is not set")) +
                           "): " + std::strerror(errno)};
        }
        static const wl_registry_listener kRegistryListener = {Global, GlobalRemove};
        registry_ = wl_display_get_registry(display_);
        wl_registry_add_listener(registry_, &kRegistryListener, this);
        // The globals, then what the outputs say about themselves.
        if (wl_display_roundtrip(display_) < 0 || wl_display_roundtrip(display_) < 0) {
            return connectionFailed();
        }
        if (!context_.compositor || !context_.shm || !context_.wmBase) {
            return {1, "the compositor offers no wl_compositor, wl_shm or xdg_wm_base"};
        }
        if (!options_.idleSeconds) {
            startShowing();
        } else if (const auto failed = watchIdle()) {
            return *failed;
        }
        return loop(signals);
    }

private:
    static void Global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
        auto* self = static_cast<WaylandSaver*>(data);
        const std::string which(interface);
        const bool waits = self->options_.idleSeconds.has_value();
        if (which == wl_compositor_interface.name) {
            self->context_.compositorVersion = std::min(version, 4u);
            self->context_.compositor = static_cast<wl_compositor*>(
                wl_registry_bind(registry, name, &wl_compositor_interface, self->context_.compositorVersion));
        } else if (which == wl_shm_interface.name) {
            self->context_.shm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
        } else if (which == xdg_wm_base_interface.name) {
            static const xdg_wm_base_listener kPing = {
                [](void*, xdg_wm_base* base, uint32_t serial) { xdg_wm_base_pong(base, serial); }};
            self->context_.wmBase =
                static_cast<xdg_wm_base*>(wl_registry_bind(registry, name, &xdg_wm_base_interface, 1));
            xdg_wm_base_add_listener(self->context_.wmBase, &kPing, nullptr);
        } else if (which == wl_seat_interface.name && self->seatName_ == 0) {
            self->seatName_ = name;
            self->seatVersion_ = std::min(version, 5u);
            if (waits && !self->idleSeat_) {
                // The seat the idle notification is for; its devices are
                // taken only by a showing's own binding.
                self->idleSeat_ = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
            }
            if (self->showing_) {
                self->bindSeat();
            }
        } else if (which == ext_idle_notifier_v1_interface.name && waits) {
            self->extIdle_ = static_cast<ext_idle_notifier_v1*>(
                wl_registry_bind(registry, name, &ext_idle_notifier_v1_interface, 1));
        } else if (which == org_kde_kwin_idle_interface.name && waits) {
            self->kdeIdle_ =
                static_cast<org_kde_kwin_idle*>(wl_registry_bind(registry, name, &org_kde_kwin_idle_interface, 1));
        } else if (which == wl_output_interface.name && version >= 2) {
            static const wl_output_listener kOutputListener = {
                [](void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*, const char*, int32_t) {
                },
                [](void*, wl_output*, uint32_t, int32_t, int32_t, int32_t) {},
                [](void* output, wl_output*) { Outputs::done(*static_cast<Outputs::Entry*>(output)); },
                [](void* output, wl_output*, int32_t scale) {
                    static_cast<Outputs::Entry*>(output)->pendingScale = scale;
                },
                [](void*, wl_output*, const char*) {},
                [](void*, wl_output*, const char*) {},
            };
            Outputs::Entry& output = self->outputs_.add(
                name, static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, 2)));
            wl_output_add_listener(output.output, &kOutputListener, &output);
            // One plugged in during a showing gets its surface and world too.
            if (self->showing_ && !self->shown_.window) {
                self->cover(output);
            }
        }
    }

    static void GlobalRemove(void* data, wl_registry* /*registry*/, uint32_t name) {
        auto* self = static_cast<WaylandSaver*>(data);
        if (wl_output* output = self->outputs_.remove(name)) {
            wl_output_destroy(output);
        }
        if (self->seatName_ == name) {
            self->seat_.reset();
            self->seatName_ = 0;
        }
    }

    // The first idle source the desktop offers, in the order of preference;
    // a failure when it offers none.
    std::optional<ClientEnd> watchIdle() {
        const uint32_t milliseconds = *options_.idleSeconds * 1000;
        if (idleSeat_ && extIdle_) {
            idle_ = WatchIdle(extIdle_, idleSeat_, milliseconds);
        } else if (idleSeat_ && kdeIdle_) {
            idle_ = WatchIdle(kdeIdle_, idleSeat_, milliseconds);
        } else {
            std::string error;
            idle_ = WatchMutterIdle(milliseconds, &error);
            if (!idle_) {
                return ClientEnd{1, error.empty() ? kNoIdleSource : error};
            }
        }
        return std::nullopt;
    }

    void startShowing() {
        shown_ = showingOptions_();
        // Decoded for each showing, so that nothing of it is held while
        // waiting; one copy for every output, whatever its scale: 4 MB.
        DecodedSheet sheet;
        DecodeSheet(BuiltInSheetBytes(), BuiltInSheetSize(), &sheet);
        sprites_ = InColours(sheet.image, ColoursOf(sheet.palette));
        showing_ = true;
        if (seatName_ != 0) {
            bindSeat();
        }
        if (shown_.window) {
            window_ = std::make_unique<SaverSurface>(context_, nullptr);
        } else {
            for (const auto& output : outputs_.entries()) {
                cover(*output);
            }
        }
    }

    void endShowing() {
        window_.reset();
        for (const auto& output : outputs_.entries()) {
            output->surface.reset();
        }
        seat_.reset();
        sprites_ = ColourImage{};
        showing_ = false;
    }

    // A binding of the seat of its own, so that each showing starts with
    // no input seen.
    void bindSeat() {
        auto* seat = static_cast<wl_seat*>(wl_registry_bind(registry_, seatName_, &wl_seat_interface, seatVersion_));
        seat_ = std::make_unique<WaylandSeat>(seat, seatName_, !shown_.window);
    }

    void cover(Outputs::Entry& output) {
        output.surface = std::make_unique<SaverSurface>(context_, output.output);
        output.surface->setScale(output.scale);
    }

    std::vector<SaverSurface*> surfaces() const {
        std::vector<SaverSurface*> all = outputs_.surfaces();
        if (window_) {
            all.push_back(window_.get());
        }
        return all;
    }

    // cause: errno of the call that failed, for a failure libwayland did
    // not record (a flush to a compositor that has gone).
    ClientEnd connectionFailed(int cause = errno) const {
        const int error = wl_display_get_error(display_) != 0 ? wl_display_get_error(display_) : cause;
        // For the waiter, the compositor going away is the session ending.
        if (options_.idleSeconds && (error == EPIPE || error == ECONNRESET)) {
            return {0, ""};
        }
        return {1, "the connection to the compositor failed: " +
                       std::string(lastLogLine[0] != '\0' ? lastLogLine : std::strerror(error))};
    }

    // Once something has ended the showing: the end, else nothing.
    std::optional<ClientEnd> showingEnd() const {
        if (seat_ && seat_->ended()) {
            return ClientEnd{0, ""};
        }
        for (SaverSurface* surface : surfaces()) {
            if (surface->closed()) {
                return ClientEnd{0, ""};
            }
            if (!surface->failure().empty()) {
                return ClientEnd{1, surface->failure()};
            }
        }
        return std::nullopt;
    }

    // Ends or starts a showing as the events say; the end of it all, if
    // this is it.
    std::optional<ClientEnd> advance() {
        // Idle seen during a showing is the idle that started it, or input
        // too slight to end it: only idle after the showing counts.
        const bool idled = idle_ && idle_->takeIdled();
        if (showing_) {
            const auto end = showingEnd();
            if (end && (!idle_ || end->exitCode != 0)) {
                return end;
            }
            if (end) {
                endShowing();
            }
        } else if (idled) {
            startShowing();
        }
        return std::nullopt;
    }

    ClientEnd loop(const StopSignals& signals) {
        const bool idleFd = idle_ && idle_->fd() >= 0;
        for (;;) {
            while (wl_display_prepare_read(display_) != 0) {
                if (wl_display_dispatch_pending(display_) < 0) {
                    return connectionFailed();
                }
            }
            // What the idle source has read already would not wake poll().
            if (idleFd && !idle_->process()) {
                wl_display_cancel_read(display_);
                return {0, ""};
            }
            if (const auto end = advance()) {
                wl_display_cancel_read(display_);
                return *end;
            }
            // A full socket is written once the compositor has read some.
            short displayEvents = POLLIN;
            if (wl_display_flush(display_) < 0) {
                if (errno != EAGAIN) {
                    const int cause = errno;
                    wl_display_cancel_read(display_);
                    return connectionFailed(cause);
                }
                displayEvents |= POLLOUT;
            }
            int timeout = -1;
            const auto now = SaverClock::now();
            for (SaverSurface* surface : surfaces()) {
                if (const auto wait = surface->untilTick(now)) {
                    timeout = timeout < 0 ? *wait : std::min(timeout, *wait);
                }
            }
            pollfd fds[3] = {{wl_display_get_fd(display_), displayEvents, 0},
                             {signals.fd(), POLLIN, 0},
                             {idleFd ? idle_->fd() : -1, idleFd ? idle_->events() : short{0}, 0}};
            if (poll(fds, idleFd ? 3 : 2, timeout) < 0 && errno != EINTR) {
                wl_display_cancel_read(display_);
                return {1, std::string("poll failed: ") + std::strerror(errno)};
            }
            if ((fds[0].revents & (POLLIN | POLLERR | POLLHUP)) != 0) {
                if (wl_display_read_events(display_) < 0) {
                    return connectionFailed();
                }
            } else {
                wl_display_cancel_read(display_);
            }
            if (wl_display_dispatch_pending(display_) < 0) {
                return connectionFailed();
            }
            if (fds[1].revents != 0) {
                return {0, ""};
            }
            if (fds[2].revents != 0 && !idle_->process()) {
                return {0, ""};
            }
            if (const auto end = advance()) {
                return *end;
            }
            const auto after = SaverClock::now();
            for (SaverSurface* surface : surfaces()) {
                if (surface->untilTick(after) == 0) {
                    surface->tick();
                }
            }
        }
    }

    const WaylandOptions& options_;  // the command line's
    ShowingOptions showingOptions_;
    WaylandOptions shown_;  // the showing's
    ColourImage sprites_;
    SurfaceContext context_;
    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    uint32_t seatName_ = 0;  // 0: no seat
    uint32_t seatVersion_ = 0;
    wl_seat* idleSeat_ = nullptr;
    ext_idle_notifier_v1* extIdle_ = nullptr;
    org_kde_kwin_idle* kdeIdle_ = nullptr;
    std::unique_ptr<IdleSource> idle_;
    std::unique_ptr<WaylandSeat> seat_;
    Outputs outputs_;
    std::unique_ptr<SaverSurface> window_;
    bool showing_ = false;
};

}  // namespace

void QuietenWaylandLog() { wl_log_set_handler_client(KeepLogLine); }

ClientEnd RunWaylandSaver(const WaylandOptions& options, const ShowingOptions& showingOptions,
                          const StopSignals& signals) {
    WaylandSaver saver(options, showingOptions);
    return saver.run(signals);
}
