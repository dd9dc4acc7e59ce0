// One surface and its world: the overlay on one output where the compositor
// offers the layer shell, else full screen on it, or the --window window.
// It is laid out at a configure that carries a size, with buffers as
// PlanBuffers says and the world in device pixels divided by the sprite
// scale; a new size or scale starts a new world. A scale that changes once
// it is laid out is taken up after the compositor has said all it had to
// say with it (a sync), so that the configure a new scale brings lays it out
// once. Each tick of its world is drawn into a buffer the compositor does
// not hold and committed with the tick's damage.
#pragma once

#include <wayland-client.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "display/colour_target.h"
#include "display/saver.h"
#include "display/tick_pacer.h"
#include "fractional-scale-v1-client-protocol.h"
#include "keyboard-shortcuts-inhibit-unstable-v1-client-protocol.h"
#include "viewporter-client-protocol.h"
#include "wayland/buffer_choice.h"
#include "wayland/buffer_repairs.h"
#include "wayland/recorded_tick.h"
#include "wayland/shm_buffer_wayland.h"
#include "wayland/surface_plan.h"
#include "wayland/wayland_options.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

using SaverClock = TickPacer::Clock;

// What every surface shares: the globals, the options and the sheet. The
// layer shell, the fractional scale, the viewporter, the shortcuts inhibitor
// and the seat are null where the compositor does not offer them.
struct SurfaceContext {
    wl_display* display = nullptr;
    wl_compositor* compositor = nullptr;
    uint32_t compositorVersion = 0;
    wl_shm* shm = nullptr;
    xdg_wm_base* wmBase = nullptr;
    zwlr_layer_shell_v1* layerShell = nullptr;
    wp_fractional_scale_manager_v1* fractionalScale = nullptr;
    wp_viewporter* viewporter = nullptr;
    zwp_keyboard_shortcuts_inhibit_manager_v1* shortcutsInhibit = nullptr;
    wl_seat* seat = nullptr;
    const WaylandOptions* options = nullptr;
    const ColourImage* sprites = nullptr;  // the sheet in colours, enlarged as it is copied
    // The scale of an output a window entered, for --window.
    std::function<int(wl_output*)> scaleOf;
};

// Binds `interface` into the context when it is one of the globals a
// surface uses where offered (the layer shell, the fractional scale, the
// viewporter, the shortcuts inhibitor), no higher than the version we know;
// false for any other.
bool BindOptionalGlobal(wl_registry* registry, uint32_t name, const std::string& interface, uint32_t version,
                        SurfaceContext& context);
// Destroys those the context holds.
void DropOptionalGlobals(SurfaceContext& context);

class SaverSurface {
public:
    // Covering `output`, or an ordinary window when it is null.
    SaverSurface(const SurfaceContext& context, wl_output* output);
    ~SaverSurface();
    SaverSurface(const SaverSurface&) = delete;
    SaverSurface& operator=(const SaverSurface&) = delete;

    wl_output* output() const { return output_; }
    wl_surface* surface() const { return surface_; }
    // The output's scale, as its `done` event completes it.
    void setScale(int scale);

    // Milliseconds until it next wants to tick (0: due now); nothing while
    // it is not laid out, has done its --ticks, waits for the compositor to
    // release a buffer or to finish a scale change, or no longer shows.
    std::optional<int> untilTick(SaverClock::time_point now) const;
    void tick();

    // The compositor closed the window (an overlay's close only takes the
    // overlay away: its output is going).
    bool closed() const { return closed_; }
    // Why it cannot go on (a buffer it could not make), else empty.
    const std::string& failure() const { return failure_; }

private:
    static void Configure(void* data, xdg_surface* xdgSurface, uint32_t serial);
    static void ToplevelConfigure(void* data, xdg_toplevel* toplevel, int32_t width, int32_t height, wl_array* states);
    static void ToplevelClose(void* data, xdg_toplevel* toplevel);
    static void LayerConfigure(void* data, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t width,
                               uint32_t height);
    static void LayerClosed(void* data, zwlr_layer_surface_v1* layer);
    static void PreferredScale(void* data, wp_fractional_scale_v1* fraction, uint32_t scale);
    static void Enter(void* data, wl_surface* surface, wl_output* output);
    static void Leave(void* data, wl_surface* surface, wl_output* output);
    static void Settled(void* data, wl_callback* callback, uint32_t time);

    void makeToplevel();
    void makeOverlay();
    void configured();
    void layOutWhenSettled();
    void layOut();
    // A black pixel; through the viewport over `logical`, where that is
    // not empty.
    void commitPlaceholder(ClientSize logical);
    BufferChoice<ShmBuffer>::Choice chooseBuffer();
    void show(ShmBuffer& buffer, const std::vector<PaintRect>& damage);

    const SurfaceContext& context_;
    wl_output* output_;
    SurfaceRole role_;
    wl_surface* surface_ = nullptr;
    xdg_surface* xdgSurface_ = nullptr;
    xdg_toplevel* toplevel_ = nullptr;
    zwlr_layer_surface_v1* layer_ = nullptr;
    wp_fractional_scale_v1* fraction_ = nullptr;
    wp_viewport* viewport_ = nullptr;
    zwp_keyboard_shortcuts_inhibitor_v1* inhibitor_ = nullptr;
    wl_callback* settling_ = nullptr;  // a sync whose answer lays it out

    int scale_ = 1;
    uint32_t preferred120_ = 0;       // the fractional scale, once the compositor says it
    ClientSize pendingSize_{0, 0};    // logical, from the last configure
    ClientSize logical_{0, 0};        // logical, as laid out
    std::optional<BufferPlan> plan_;  // as laid out
    std::unique_ptr<ShmBuffer> placeholder_;
    BufferChoice<ShmBuffer> buffers_;
    std::optional<BufferRepairs> repairs_;
    ShmBuffer* shown_ = nullptr;  // the buffer committed last
    RecordedTick recorded_;       // kept, so that its memory serves every tick

    Saver saver_;
    uint64_t ticksDone_ = 0;
    std::optional<TickPacer> pacer_;
    bool closed_ = false;
    bool gone_ = false;     // the overlay was closed
    bool entered_ = false;  // it has shown on an output
    std::string failure_;
};
