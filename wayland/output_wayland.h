// One surface and its world: full screen on one output, or the --window
// window. It is laid out at the first configure that carries a size, with
// the buffer at device resolution (logical size times the output's scale)
// and the world in device pixels divided by the sprite scale; a new size or
// scale starts a new world. Each tick of its own world is drawn into a
// buffer the compositor does not hold and committed with the tick's damage.
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
#include "wayland/buffer_repairs.h"
#include "wayland/recorded_tick.h"
#include "wayland/shm_buffer_wayland.h"
#include "wayland/wayland_options.h"
#include "xdg-shell-client-protocol.h"

using SaverClock = TickPacer::Clock;

// What every surface shares: the globals, the options and the sheet.
struct SurfaceContext {
    wl_compositor* compositor = nullptr;
    uint32_t compositorVersion = 0;
    wl_shm* shm = nullptr;
    xdg_wm_base* wmBase = nullptr;
    const WaylandOptions* options = nullptr;
    const ColourImage* sprites = nullptr;  // the sheet in colours, enlarged as it is copied
    // The scale of an output a window entered, for --window.
    std::function<int(wl_output*)> scaleOf;
};

class SaverSurface {
public:
    // Full screen on `output`, or an ordinary window when it is null.
    SaverSurface(const SurfaceContext& context, wl_output* output);
    ~SaverSurface();
    SaverSurface(const SaverSurface&) = delete;
    SaverSurface& operator=(const SaverSurface&) = delete;

    wl_output* output() const { return output_; }
    wl_surface* surface() const { return surface_; }
    // The output's scale, as its `done` event completes it.
    void setScale(int scale);

    // Milliseconds until it next wants to tick (0: due now); nothing while
    // it is not laid out, has done its --ticks, or waits for the compositor
    // to release a buffer.
    std::optional<int> untilTick(SaverClock::time_point now) const;
    void tick();

    // The compositor closed it.
    bool closed() const { return closed_; }
    // Why it cannot go on (a buffer it could not make), else empty.
    const std::string& failure() const { return failure_; }

private:
    static void Configure(void* data, xdg_surface* xdgSurface, uint32_t serial);
    static void ToplevelConfigure(void* data, xdg_toplevel* toplevel, int32_t width, int32_t height, wl_array* states);
    static void ToplevelClose(void* data, xdg_toplevel* toplevel);
    static void Enter(void* data, wl_surface* surface, wl_output* output);
    static void Leave(void* data, wl_surface* surface, wl_output* output);

    void layOut();
    void commitPlaceholder();
    ShmBuffer* freeBuffer();
    void show(ShmBuffer& buffer, const std::vector<PaintRect>& damage);

    const SurfaceContext& context_;
    wl_output* output_;
    wl_surface* surface_ = nullptr;
    xdg_surface* xdgSurface_ = nullptr;
    xdg_toplevel* toplevel_ = nullptr;

    int scale_ = 1;
    ClientSize pendingSize_{0, 0};  // logical, from the last toplevel configure
    ClientSize logical_{0, 0};      // logical, as laid out
    int bufferScale_ = 0;           // 0: not laid out yet
    int spriteScale_ = 1;
    std::unique_ptr<ShmBuffer> placeholder_;
    std::vector<std::unique_ptr<ShmBuffer>> buffers_;
    std::optional<BufferRepairs> repairs_;
    ShmBuffer* shown_ = nullptr;  // the buffer committed last
    RecordedTick recorded_;       // kept, so that its memory serves every tick

    Saver saver_;
    uint64_t ticksDone_ = 0;
    std::optional<TickPacer> pacer_;
    bool closed_ = false;
    std::string failure_;
};
