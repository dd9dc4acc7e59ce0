#include "wayland/saver_client_wayland.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "display/colour_target.h"
#include "resources/builtin_sheet.h"
#include "wayland/compositor_address.h"
#include "wayland/compositor_wait_wayland.h"
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
        : options_(options),
          showingOptions_(std::move(showingOptions)),
          address_(CompositorAddress::FromEnvironment()) {
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
        DropOptionalGlobals(context_);
        Destroy(context_.shm, wl_shm_destroy);
        Destroy(context_.compositor, wl_compositor_destroy);
        Destroy(registry_, wl_registry_destroy);
        Destroy(display_, wl_display_disconnect);
    }

    ClientEnd run(const StopSignals& signals) {
        const std::string cannot = "cannot connect to a Wayland compositor (" + address_.named() + "): ";
        if (const std::string unusable = address_.unusable(); !unusable.empty()) {
            return {1, cannot + unusable};
        }
        display_ = wl_display_connect(nullptr);
        context_.display = display_;
        if (!display_) {
            return {1, cannot + address_.whyNot(errno)};
        }
        static const wl_registry_listener kRegistryListener = {Global, GlobalRemove};
        registry_ = wl_display_get_registry(display_);
        wl_registry_add_listener(registry_, &kRegistryListener, this);
        // The globals, then what the outputs say about themselves.
        for (int trip = 0; trip < 2; ++trip) {
            if (const Waited waited = RoundTrip(display_, signals.fd()); waited != Waited::Dispatched) {
                return ended(waited);
            }
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
        } else if (BindOptionalGlobal(registry, name, which, version, self->context_)) {
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
            self->context_.seat = nullptr;
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
        context_.seat = nullptr;
        seat_.reset();
        sprites_ = ColourImage{};
        showing_ = false;
    }

    // A binding of the seat of its own, so that each showing starts with
    // no input seen.
    void bindSeat() {
        auto* seat = static_cast<wl_seat*>(wl_registry_bind(registry_, seatName_, &wl_seat_interface, seatVersion_));
        seat_ = std::make_unique<WaylandSeat>(seat, seatName_, !shown_.window);
        context_.seat = seat;
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

    // A stop signal's end, or the connection's failure; for the waiter, the
    // compositor going away is the session ending.
    ClientEnd ended(Waited waited) const {
        const int error = wl_display_get_error(display_) != 0 ? wl_display_get_error(display_) : errno;
        if (waited == Waited::Stopped || (options_.idleSeconds && (error == EPIPE || error == ECONNRESET))) {
            return {0, ""};
        }
        return {1, "the connection to the compositor (" + address_.named() +
                       ") failed: " + (lastLogLine[0] != '\0' ? lastLogLine : ErrorText(error))};
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
            auto end = showingEnd();
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
            // What the idle source has read already would not wake poll().
            if (idleFd && !idle_->process()) {
                return {0, ""};
            }
            if (const auto end = advance()) {
                return *end;
            }
            const auto now = SaverClock::now();
            for (SaverSurface* surface : surfaces()) {
                // Into libwayland's empty buffer, or later: a full socket
                // is waited out.
                if (surface->untilTick(now) == 0 && AllWritten(display_)) {
                    surface->tick();
                }
            }
            int timeout = -1;
            const auto after = SaverClock::now();
            for (SaverSurface* surface : surfaces()) {
                if (const auto wait = surface->untilTick(after)) {
                    timeout = timeout < 0 ? *wait : std::min(timeout, *wait);
                }
            }
            pollfd idleEvents{idleFd ? idle_->fd() : -1, idleFd ? idle_->events() : short{0}, 0};
            if (const Waited waited = WaitOnCompositor(display_, signals.fd(), timeout, idleFd ? &idleEvents : nullptr);
                waited != Waited::Dispatched) {
                return ended(waited);
            }
        }
    }

    const WaylandOptions& options_;  // the command line's
    ShowingOptions showingOptions_;
    WaylandOptions shown_;  // the showing's
    const CompositorAddress address_;
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
