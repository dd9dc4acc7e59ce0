#include "wayland/output_wayland.h"

#include <algorithm>
#include <climits>

#include "display/clipped_copy.h"
#include "display/display_scale.h"
#include "settings/command_line_options_posix.h"
#include "wayland/recorded_tick.h"

namespace {

// A window's first size, when the compositor leaves it to us.
constexpr ClientSize kWindowSize{640, 480};

void CopyRect(const ShmBuffer& from, ShmBuffer& to, const PaintRect& rect) {
    CopyClipped(from.pixels(), {from.size().width, from.size().height}, to.pixels(),
                {to.size().width, to.size().height}, rect.left, rect.top, rect.left, rect.top, rect.right - rect.left,
                rect.bottom - rect.top);
}

}  // namespace

SaverSurface::SaverSurface(const SurfaceContext& context, wl_output* output) : context_(context), output_(output) {
    static const wl_surface_listener kSurfaceListener = {Enter, Leave};
    static const xdg_surface_listener kXdgSurfaceListener = {Configure};
    static const xdg_toplevel_listener kToplevelListener = {ToplevelConfigure, ToplevelClose,
                                                            [](void*, xdg_toplevel*, int32_t, int32_t) {},
                                                            [](void*, xdg_toplevel*, wl_array*) {}};
    surface_ = wl_compositor_create_surface(context.compositor);
    wl_surface_add_listener(surface_, &kSurfaceListener, this);
    xdgSurface_ = xdg_wm_base_get_xdg_surface(context.wmBase, surface_);
    xdg_surface_add_listener(xdgSurface_, &kXdgSurfaceListener, this);
    toplevel_ = xdg_surface_get_toplevel(xdgSurface_);
    xdg_toplevel_add_listener(toplevel_, &kToplevelListener, this);
    xdg_toplevel_set_app_id(toplevel_, "quorbel");
    xdg_toplevel_set_title(toplevel_, "Quorbel");
    if (output_) {
        xdg_toplevel_set_fullscreen(toplevel_, output_);
    }
    wl_surface_commit(surface_);
}

SaverSurface::~SaverSurface() {
    saver_.end();
    xdg_toplevel_destroy(toplevel_);
    xdg_surface_destroy(xdgSurface_);
    wl_surface_destroy(surface_);
}

void SaverSurface::setScale(int scale) {
    scale_ = std::max(scale, 1);
    if (bufferScale_ != 0 && scale_ != bufferScale_) {
        layOut();
    }
}

void SaverSurface::Configure(void* data, xdg_surface* xdgSurface, uint32_t serial) {
    auto* self = static_cast<SaverSurface*>(data);
    xdg_surface_ack_configure(xdgSurface, serial);
    if (self->pendingSize_.width <= 0 || self->pendingSize_.height <= 0) {
        if (!self->output_) {
            self->pendingSize_ = self->bufferScale_ != 0 ? self->logical_ : kWindowSize;
        } else {
            // The first configure leaves the size to us, and sway makes a
            // surface full screen only once it has a buffer: a black
            // pixel until the configure with the output's size.
            if (self->bufferScale_ == 0) {
                self->commitPlaceholder();
            }
            return;
        }
    }
    self->layOut();
}

void SaverSurface::ToplevelConfigure(void* data, xdg_toplevel* /*toplevel*/, int32_t width, int32_t height,
                                     wl_array* /*states*/) {
    static_cast<SaverSurface*>(data)->pendingSize_ = {width, height};
}

void SaverSurface::ToplevelClose(void* data, xdg_toplevel* /*toplevel*/) {
    static_cast<SaverSurface*>(data)->closed_ = true;
}

void SaverSurface::Enter(void* data, wl_surface* /*surface*/, wl_output* output) {
    auto* self = static_cast<SaverSurface*>(data);
    // A window takes the scale of the output it shows on.
    if (!self->output_ && self->context_.scaleOf) {
        self->setScale(self->context_.scaleOf(output));
    }
}

void SaverSurface::Leave(void* /*data*/, wl_surface* /*surface*/, wl_output* /*output*/) {}

void SaverSurface::commitPlaceholder() {
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
    const ClientSize device{pendingSize_.width * scale_, pendingSize_.height * scale_};
    const int spriteScale = context_.options->scale != 0 ? context_.options->scale : std::min(scale_, kMaxDisplayScale);
    if (bufferScale_ == scale_ && spriteScale == spriteScale_ && repairs_ &&
        buffers_[0]->size().width == device.width && buffers_[0]->size().height == device.height) {
        return;
    }
    buffers_.clear();
    shown_ = nullptr;
    repairs_.emplace(device);
    bufferScale_ = scale_;
    spriteScale_ = spriteScale;
    logical_ = pendingSize_;
    wl_surface_set_buffer_scale(surface_, bufferScale_);
    // Black at once, before the first tick is due.
    ShmBuffer* black = freeBuffer();
    if (!black) {
        return;
    }
    repairs_->take(0);
    show(*black, {{0, 0, device.width, device.height}});

    const ClientSize world = LogicalSize(device, spriteScale_);
    if (saver_.running()) {
        saver_.resize(world);
    } else {
        saver_.start(context_.options->saver.settings, world, SeedToUse(context_.options->saver));
    }
    pacer_.emplace(SaverClock::now(), saver_.tickDelay());
}

ShmBuffer* SaverSurface::freeBuffer() {
    for (const auto& buffer : buffers_) {
        if (!buffer->held()) {
            return buffer.get();
        }
    }
    // A compositor that copies a buffer releases it at once, and one buffer
    // is all it takes; sway with its pixman renderer holds the one shown
    // until the next commit, so there two take turns. A second is made only
    // while the first is still held.
    if (buffers_.size() >= 2 || !repairs_) {
        return nullptr;
    }
    std::unique_ptr<ShmBuffer> made = ShmBuffer::Make(context_.shm, repairs_->size(), &failure_);
    if (!made) {
        return nullptr;
    }
    repairs_->addBuffer();
    buffers_.push_back(std::move(made));
    return buffers_.back().get();
}

std::optional<int> SaverSurface::untilTick(SaverClock::time_point now) const {
    const auto& ticks = context_.options->ticks;
    if (!pacer_ || closed_ || !failure_.empty() || buffers_.empty() || (ticks && ticksDone_ >= *ticks)) {
        return std::nullopt;
    }
    const bool free = buffers_.size() < 2 ||
                      std::any_of(buffers_.begin(), buffers_.end(), [](const auto& buffer) { return !buffer->held(); });
    if (!free) {
        return std::nullopt;  // the release wakes the loop
    }
    return pacer_->millisecondsUntilDue(now);
}

void SaverSurface::tick() {
    ShmBuffer* buffer = freeBuffer();
    if (!buffer) {
        return;
    }
    const size_t index = static_cast<size_t>(
        std::find_if(buffers_.begin(), buffers_.end(), [&](const auto& b) { return b.get() == buffer; }) -
        buffers_.begin());
    // The tick first, recorded: the repair then skips what it paints over.
    const ClientSize size = buffer->size();
    recorded_.reset(size, {context_.sprites->width * spriteScale_, context_.sprites->height * spriteScale_});
    ScaledTarget scaled(recorded_, spriteScale_);
    saver_.tick(spriteScale_ > 1 ? static_cast<PaintTarget&>(scaled) : recorded_);
    RecordedTick::Cover cover(recorded_);
    for (const PaintRect& lacking : repairs_->take(index)) {
        // A buffer made since the last layout is black, as the picture was.
        if (shown_ && shown_ != buffer && !cover.covers(lacking)) {
            CopyRect(*shown_, *buffer, lacking);
        }
    }
    ColourTarget device({buffer->pixels(), size.width, size.height}, context_.sprites, spriteScale_);
    recorded_.replay(device);
    ++ticksDone_;
    repairs_->drawn(index, device.changed().changes());
    show(*buffer, device.changed().merged(kShowCallCost));
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
