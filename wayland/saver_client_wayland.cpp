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
#include "wayland/output_list.h"
#include "wayland/output_wayland.h"
#include "wayland/seat_wayland.h"

namespace {

char lastLogLine[256];

void KeepLogLine(const char* format, va_list args) {
    std::vsnprintf(lastLogLine, sizeof lastLogLine, format, args);
    lastLogLine[std::strcspn(lastLogLine, "\n")] = '\0';
}

using Outputs = OutputList<wl_output, SaverSurface>;

class WaylandSaver {
public:
    explicit WaylandSaver(const WaylandOptions& options) : options_(options) {
        const DecodedSheet& sheet = BuiltInSheet();
        // One copy for every output, whatever its scale: 4 MB.
        sprites_ = InColours(sheet.image, ColoursOf(sheet.palette));
        context_.options = &options_;
        context_.sprites = &sprites_;
        context_.scaleOf = [this](wl_output* output) { return outputs_.scaleOf(output); };
    }

    ~WaylandSaver() {
        window_.reset();
        while (!outputs_.entries().empty()) {
            wl_output_destroy(outputs_.remove(outputs_.entries().front()->name));
        }
        seat_.reset();
        if (context_.wmBase) {
            xdg_wm_base_destroy(context_.wmBase);
        }
        DropOptionalGlobals(context_);
        if (context_.shm) {
            wl_shm_destroy(context_.shm);
        }
        if (context_.compositor) {
            wl_compositor_destroy(context_.compositor);
        }
        if (registry_) {
            wl_registry_destroy(registry_);
        }
        if (display_) {
            wl_display_disconnect(display_);
        }
    }

    ClientEnd run(const StopSignals& signals) {
        display_ = wl_display_connect(nullptr);
        context_.display = display_;
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
        started_ = true;
        if (options_.window) {
            window_ = std::make_unique<SaverSurface>(context_, nullptr);
        } else {
            for (const auto& output : outputs_.entries()) {
                cover(*output);
            }
        }
        return loop(signals);
    }

private:
    static void Global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
        auto* self = static_cast<WaylandSaver*>(data);
        const std::string which(interface);
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
        } else if (BindOptionalGlobal(registry, name, which, version, self->context_)) {
        } else if (which == wl_seat_interface.name && !self->seat_) {
            auto* seat =
                static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, std::min(version, 5u)));
            self->seat_ = std::make_unique<WaylandSeat>(seat, name, !self->options_.window);
            self->context_.seat = seat;
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
            // One plugged in while it runs gets its surface and world too.
            if (self->started_ && !self->options_.window) {
                self->cover(output);
            }
        }
    }

    static void GlobalRemove(void* data, wl_registry* /*registry*/, uint32_t name) {
        auto* self = static_cast<WaylandSaver*>(data);
        if (wl_output* output = self->outputs_.remove(name)) {
            wl_output_destroy(output);
        }
        if (self->seat_ && self->seat_->name() == name) {
            self->context_.seat = nullptr;
            self->seat_.reset();
        }
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

    ClientEnd connectionFailed() const {
        const int error = wl_display_get_error(display_);
        return {1, "the connection to the compositor failed: " +
                       std::string(lastLogLine[0] != '\0' ? lastLogLine : std::strerror(error != 0 ? error : errno))};
    }

    // Once something has ended it: the end, else nothing.
    std::optional<ClientEnd> ending() const {
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

    ClientEnd loop(const StopSignals& signals) {
        for (;;) {
            while (wl_display_prepare_read(display_) != 0) {
                if (wl_display_dispatch_pending(display_) < 0) {
                    return connectionFailed();
                }
            }
            if (const auto end = ending()) {
                wl_display_cancel_read(display_);
                return *end;
            }
            // A full socket is written once the compositor has read some.
            short displayEvents = POLLIN;
            if (wl_display_flush(display_) < 0) {
                if (errno != EAGAIN) {
                    wl_display_cancel_read(display_);
                    return connectionFailed();
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
            pollfd fds[2] = {{wl_display_get_fd(display_), displayEvents, 0}, {signals.fd(), POLLIN, 0}};
            if (poll(fds, 2, timeout) < 0 && errno != EINTR) {
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
            if (const auto end = ending()) {
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

    const WaylandOptions& options_;
    ColourImage sprites_;
    SurfaceContext context_;
    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    std::unique_ptr<WaylandSeat> seat_;
    Outputs outputs_;
    std::unique_ptr<SaverSurface> window_;
    bool started_ = false;
};

}  // namespace

void QuietenWaylandLog() { wl_log_set_handler_client(KeepLogLine); }

ClientEnd RunWaylandSaver(const WaylandOptions& options, const StopSignals& signals) {
    WaylandSaver saver(options);
    return saver.run(signals);
}
