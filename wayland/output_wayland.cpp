#include "wayland/output_wayland.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "display/clipped_copy.h"
#include "display/display_scale.h"
#include "settings/command_line_options_posix.h"
#include "wayland/commit_damage.h"
#include "wayland/recorded_tick.h"

namespace {

// A window's first size, when the compositor leaves it to us.
constexpr ClientSize kWindowSize{640, 480};

void CopyRect(const ShmBuffer& from, ShmBuffer& to, const PaintRect& rect) {
    CopyClipped(from.pixels(), {from.size().width, from.size().height}, to.pixels(),
                {to.size().width, to.size().height}, rect.left, rect.top, rect.left, rect.top, rect.right - rect.left,
                rect.bottom - rect.top);
}

bool SameSize(ClientSize a, ClientSize b) { return a.width == b.width && a.height == b.height; }

// Destroys a protocol object we may hold, and forgets it.
template <typename Object>
void Drop(Object*& object, void (*destroy)(Object*)) {
    if (object) {
        destroy(object);
        object = nullptr;
    }
}

}  // namespace

bool BindOptionalGlobal(wl_registry* registry, uint32_t name, const std::string& interface, uint32_t version,
                        SurfaceContext& context) {
    if (interface == zwlr_layer_shell_v1_interface.name) {
        // QUORBEL_WAYLAND_FULLSCREEN=1 keeps full-screen windows (what
        // desktops without the layer shell get) where it is offered.
        const char* fullScreen = std::getenv("QUORBEL_WAYLAND_FULLSCREEN");
        if (fullScreen && std::strcmp(fullScreen, "1") == 0) {
            return true;
        }
        // Our description of it goes to version 4.
        context.layerShell = static_cast<zwlr_layer_shell_v1*>(
            wl_registry_bind(registry, name, &zwlr_layer_shell_v1_interface, std::min(version, 4u)));
    } else if (interface == wp_fractional_scale_manager_v1_interface.name) {
        context.fractionalScale = static_cast<wp_fractional_scale_manager_v1*>(
            wl_registry_bind(registry, name, &wp_fractional_scale_manager_v1_interface, 1));
    } else if (interface == wp_viewporter_interface.name) {
        context.viewporter = static_cast<wp_viewporter*>(wl_registry_bind(registry, name, &wp_viewporter_interface, 1));
    } else if (interface == zwp_keyboard_shortcuts_inhibit_manager_v1_interface.name) {
        context.shortcutsInhibit = static_cast<zwp_keyboard_shortcuts_inhibit_manager_v1*>(
            wl_registry_bind(registry, name, &zwp_keyboard_shortcuts_inhibit_manager_v1_interface, 1));
    } else {
        return false;
    }
    return true;
}

void DropOptionalGlobals(SurfaceContext& context) {
    if (context.layerShell) {
        // Its destroy request came with version 3.
        if (zwlr_layer_shell_v1_get_version(context.layerShell) >= 3) {
            zwlr_layer_shell_v1_destroy(context.layerShell);
        } else {
            wl_proxy_destroy(reinterpret_cast<wl_proxy*>(context.layerShell));
        }
        context.layerShell = nullptr;
    }
    Drop(context.fractionalScale, wp_fractional_scale_manager_v1_destroy);
    Drop(context.viewporter, wp_viewporter_destroy);
    Drop(context.shortcutsInhibit, zwp_keyboard_shortcuts_inhibit_manager_v1_destroy);
}

SaverSurface::SaverSurface(const SurfaceContext& context, wl_output* output)
    : context_(context), output_(output), role_(RoleFor(output == nullptr, context.layerShell != nullptr)) {
    static const wl_surface_listener kSurfaceListener = {Enter, Leave};
    static const wp_fractional_scale_v1_listener kFractionListener = {PreferredScale};
    surface_ = wl_compositor_create_surface(context.compositor);
    wl_surface_add_listener(surface_, &kSurfaceListener, this);
    // Both or neither: a fractional scale is shown through a viewport.
    if (context.fractionalScale && context.viewporter) {
        fraction_ = wp_fractional_scale_manager_v1_get_fractional_scale(context.fractionalScale, surface_);
        wp_fractional_scale_v1_add_listener(fraction_, &kFractionListener, this);
        viewport_ = wp_viewporter_get_viewport(context.viewporter, surface_);
    }
    if (role_ == SurfaceRole::kOverlay) {
        makeOverlay();
    } else {
        makeToplevel();
    }
    wl_surface_commit(surface_);
}

void SaverSurface::makeToplevel() {
    static const xdg_surface_listener kXdgSurfaceListener = {Configure};
    static const xdg_toplevel_listener kToplevelListener = {ToplevelConfigure, ToplevelClose,
                                                            [](void*, xdg_toplevel*, int32_t, int32_t) {},
                                                            [](void*, xdg_toplevel*, wl_array*) {}};
    xdgSurface_ = xdg_wm_base_get_xdg_surface(context_.wmBase, surface_);
    xdg_surface_add_listener(xdgSurface_, &kXdgSurfaceListener, this);
    toplevel_ = xdg_surface_get_toplevel(xdgSurface_);
    xdg_toplevel_add_listener(toplevel_, &kToplevelListener, this);
    xdg_toplevel_set_app_id(toplevel_, "quorbel");
    xdg_toplevel_set_title(toplevel_, "Quorbel");
    if (role_ == SurfaceRole::kFullScreen) {
        xdg_toplevel_set_fullscreen(toplevel_, output_);
    }
}

void SaverSurface::makeOverlay() {
    static const zwlr_layer_surface_v1_listener kLayerListener = {LayerConfigure, LayerClosed};
    layer_ = zwlr_layer_shell_v1_get_layer_surface(context_.layerShell, surface_, output_,
                                                   ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "quorbel");
    zwlr_layer_surface_v1_add_listener(layer_, &kLayerListener, this);
    // The whole output, over panels too, and the keyboard its own: no
    // window of the user's changes state, and a key reaches it.
    zwlr_layer_surface_v1_set_anchor(layer_, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                                                 ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT |
                                                 ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
    zwlr_layer_surface_v1_set_size(layer_, 0, 0);
    zwlr_layer_surface_v1_set_exclusive_zone(layer_, -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(layer_, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
    // And the compositor's own key bindings off while it has the keyboard,
    // so that every key ends it. Only for overlays: sway and KWin grant it
    // at once, GNOME Shell (which has no layer shell) asks the user first.
    if (context_.shortcutsInhibit && context_.seat) {
        inhibitor_ = zwp_keyboard_shortcuts_inhibit_manager_v1_inhibit_shortcuts(context_.shortcutsInhibit, surface_,
                                                                                 context_.seat);
    }
}

SaverSurface::~SaverSurface() {
    saver_.end();
    Drop(settling_, wl_callback_destroy);
    Drop(inhibitor_, zwp_keyboard_shortcuts_inhibitor_v1_destroy);
    Drop(fraction_, wp_fractional_scale_v1_destroy);
    Drop(viewport_, wp_viewport_destroy);
    Drop(layer_, zwlr_layer_surface_v1_destroy);
    Drop(toplevel_, xdg_toplevel_destroy);
    Drop(xdgSurface_, xdg_surface_destroy);
    wl_surface_destroy(surface_);
}

void SaverSurface::setScale(int scale) {
    scale_ = std::max(scale, 1);
    if (plan_) {
        layOutWhenSettled();
    }
}

void SaverSurface::PreferredScale(void* data, wp_fractional_scale_v1* /*fraction*/, uint32_t scale) {
    auto* self = static_cast<SaverSurface*>(data);
    self->preferred120_ = scale;
    if (self->plan_) {
        self->layOutWhenSettled();
    }
}

void SaverSurface::layOutWhenSettled() {
    static const wl_callback_listener kSettledListener = {Settled};
    if (settling_) {
        return;
    }
    settling_ = wl_display_sync(context_.display);
    wl_callback_add_listener(settling_, &kSettledListener, this);
}

void SaverSurface::Settled(void* data, wl_callback* callback, uint32_t /*time*/) {
    auto* self = static_cast<SaverSurface*>(data);
    wl_callback_destroy(callback);
    self->settling_ = nullptr;
    if (!self->gone_ && self->pendingSize_.width > 0 && self->pendingSize_.height > 0) {
        self->layOut();
    }
}

void SaverSurface::Configure(void* data, xdg_surface* xdgSurface, uint32_t serial) {
    auto* self = static_cast<SaverSurface*>(data);
    xdg_surface_ack_configure(xdgSurface, serial);
    if (self->pendingSize_.width <= 0 || self->pendingSize_.height <= 0) {
        if (self->role_ == SurfaceRole::kWindow) {
            self->pendingSize_ = self->plan_ ? self->logical_ : kWindowSize;
        } else {
            // The first configure leaves the size to us, and sway makes a
            // surface full screen only once it has a buffer: a black
            // pixel until the configure with the output's size.
            if (!self->plan_) {
                self->commitPlaceholder({0, 0});
            }
            return;
        }
    }
    self->configured();
}

void SaverSurface::ToplevelConfigure(void* data, xdg_toplevel* /*toplevel*/, int32_t width, int32_t height,
                                     wl_array* /*states*/) {
    static_cast<SaverSurface*>(data)->pendingSize_ = {width, height};
}

void SaverSurface::ToplevelClose(void* data, xdg_toplevel* /*toplevel*/) {
    static_cast<SaverSurface*>(data)->closed_ = true;
}

void SaverSurface::LayerConfigure(void* data, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t width,
                                  uint32_t height) {
    auto* self = static_cast<SaverSurface*>(data);
    zwlr_layer_surface_v1_ack_configure(layer, serial);
    // Anchored to every edge, it is given the output's size.
    self->pendingSize_ = {static_cast<int>(std::min<uint32_t>(width, INT32_MAX)),
                          static_cast<int>(std::min<uint32_t>(height, INT32_MAX))};
    if (self->pendingSize_.width > 0 && self->pendingSize_.height > 0) {
        self->configured();
    }
}

void SaverSurface::LayerClosed(void* data, zwlr_layer_surface_v1* /*layer*/) {
    // Its output is going, and the world with it: nothing more is drawn.
    auto* self = static_cast<SaverSurface*>(data);
    self->gone_ = true;
    self->saver_.end();
    self->buffers_.clear();
    self->shown_ = nullptr;
}

void SaverSurface::configured() {
    // A new layout once the compositor has also sent what came with the
    // change (sway sends the configure of a new scale before the output's
    // scale): the sync's answer lays it out.
    if (plan_ || settling_) {
        layOutWhenSettled();
    } else if (fraction_ && !entered_) {
        // KWin tells a surface's fractional scale once it shows on an
        // output, and a default one before: black through the viewport
        // until it enters its output.
        commitPlaceholder(pendingSize_);
    } else {
        layOut();
    }
}

void SaverSurface::Enter(void* data, wl_surface* /*surface*/, wl_output* output) {
    auto* self = static_cast<SaverSurface*>(data);
    // A window takes the scale of the output it shows on.
    if (self->role_ == SurfaceRole::kWindow && self->context_.scaleOf) {
        self->setScale(self->context_.scaleOf(output));
    }
    // The fractional scale comes with the first enter, or just before it.
    if (!self->entered_ && self->fraction_ && !self->plan_ && self->pendingSize_.width > 0 &&
        self->pendingSize_.height > 0) {
        self->layOutWhenSettled();
    }
    self->entered_ = true;
}

void SaverSurface::Leave(void* /*data*/, wl_surface* /*surface*/, wl_output* /*output*/) {}

void SaverSurface::commitPlaceholder(ClientSize logical) {
    if (viewport_ && logical.width > 0 && logical.height > 0) {
        wp_viewport_set_destination(viewport_, logical.width, logical.height);
    }
    if (!placeholder_) {
        placeholder_ = ShmBuffer::Make(context_.shm, {1, 1}, &failure_);
        if (!placeholder_) {
            return;
        }
    }
    placeholder_->attach(surface_);
    wl_surface_damage(surface_, 0, 0, INT32_MAX, INT32_MAX);
    wl_surface_commit(surface_);
}

void SaverSurface::layOut() {
    ScaleOffer offer;
    offer.compositorVersion = context_.compositorVersion;
    offer.outputScale = scale_;
    offer.preferred120 = viewport_ ? preferred120_ : 0;
    offer.spriteScaleOption = context_.options->scale;
    const BufferPlan plan = PlanBuffers(pendingSize_, offer);
    // The same layout again (a configure of the same size) keeps its world.
    if (plan_ && *plan_ == plan && SameSize(logical_, pendingSize_)) {
        return;
    }
    buffers_.clear();
    shown_ = nullptr;
    repairs_.emplace(plan.device);
    plan_ = plan;
    logical_ = pendingSize_;
    if (plan.bufferScale != 0) {
        wl_surface_set_buffer_scale(surface_, plan.bufferScale);
    }
    if (viewport_) {
        // -1: no viewport, the buffer scale says the size.
        wp_viewport_set_destination(viewport_, plan.viewport ? logical_.width : -1,
                                    plan.viewport ? logical_.height : -1);
    }
    // Black at once, before the first tick is due.
    const auto black = chooseBuffer();
    if (!black.buffer) {
        return;
    }
    repairs_->take(black.index);
    show(*black.buffer, {{0, 0, plan.device.width, plan.device.height}});

    const ClientSize world = LogicalSize(plan.device, plan.spriteScale);
    if (saver_.running()) {
        saver_.resize(world);
    } else {
        saver_.start(context_.options->saver.settings, world, SeedToUse(context_.options->saver));
    }
    pacer_.emplace(SaverClock::now(), saver_.tickDelay());
}

BufferChoice<ShmBuffer>::Choice SaverSurface::chooseBuffer() {
    const auto choice = buffers_.next([this] { return ShmBuffer::Make(context_.shm, repairs_->size(), &failure_); });
    if (choice.made) {
        repairs_->addBuffer();
    }
    return choice;
}

std::optional<int> SaverSurface::untilTick(SaverClock::time_point now) const {
    const auto& ticks = context_.options->ticks;
    if (!pacer_ || closed_ || gone_ || settling_ || !failure_.empty() || buffers_.empty() ||
        (ticks && ticksDone_ >= *ticks)) {
        return std::nullopt;
    }
    if (!buffers_.available()) {
        return std::nullopt;  // the release wakes the loop
    }
    return pacer_->millisecondsUntilDue(now);
}

void SaverSurface::tick() {
    const auto chosen = chooseBuffer();
    if (!chosen.buffer) {
        return;
    }
    ShmBuffer& buffer = *chosen.buffer;
    // The tick first, recorded: the repair then skips what it paints over.
    const ClientSize size = buffer.size();
    const int spriteScale = plan_->spriteScale;
    recorded_.reset(size, {context_.sprites->width * spriteScale, context_.sprites->height * spriteScale});
    ScaledTarget scaled(recorded_, spriteScale);
    saver_.tick(spriteScale > 1 ? static_cast<PaintTarget&>(scaled) : recorded_);
    RecordedTick::Cover cover(recorded_);
    for (const PaintRect& lacking : repairs_->take(chosen.index)) {
        // A buffer made since the last layout is black, as the picture was.
        if (shown_ && shown_ != &buffer && !cover.covers(lacking)) {
            CopyRect(*shown_, buffer, lacking);
        }
    }
    ColourTarget device({buffer.pixels(), size.width, size.height}, context_.sprites, spriteScale);
    recorded_.replay(device);
    ++ticksDone_;
    repairs_->drawn(chosen.index, device.changed().changes());
    show(buffer, CommitDamage(device.changed()));
    pacer_->ticked(saver_.tickDelay(), SaverClock::now());
}

void SaverSurface::show(ShmBuffer& buffer, const std::vector<PaintRect>& damage) {
    buffer.attach(surface_);
    if (context_.compositorVersion < 4) {
        // No damage in buffer pixels before version 4: all of it.
        wl_surface_damage(surface_, 0, 0, INT32_MAX, INT32_MAX);
    } else {
        for (const PaintRect& rect : damage) {
            wl_surface_damage_buffer(surface_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
        }
    }
    wl_surface_commit(surface_);
    shown_ = &buffer;
}
