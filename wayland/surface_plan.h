// What kind of surface shows the saver, and how its buffers are drawn,
// decided from what the compositor offers. Portable: no Wayland headers, so
// that tests can try every offer in-process.
#pragma once

#include <cstdint>

#include "display/paint_target.h"

enum class SurfaceRole {
    kWindow,      // --window: an ordinary xdg_toplevel
    kOverlay,     // a layer surface above every window, where the layer shell is offered
    kFullScreen,  // a full-screen xdg_toplevel, where it is not
};

SurfaceRole RoleFor(bool window, bool layerShellOffered);

// The preferred scale of wp_fractional_scale_v1 is in 120ths.
constexpr uint32_t kFractionalScaleDenominator = 120;

struct ScaleOffer {
    uint32_t compositorVersion = 0;  // wl_compositor as bound
    int outputScale = 1;             // the output's whole-number scale
    uint32_t preferred120 = 0;       // the surface's fractional scale; 0: unknown or no viewporter
    int spriteScaleOption = 0;       // --scale; 0: from the device ratio
};

struct BufferPlan {
    ClientSize device{0, 0};  // the buffers' size
    int bufferScale = 0;      // for wl_surface.set_buffer_scale; 0: not sent (before version 3)
    bool viewport = false;    // shown through a viewport the surface's logical size
    int spriteScale = 1;

    bool operator==(const BufferPlan& other) const {
        return device.width == other.device.width && device.height == other.device.height &&
               bufferScale == other.bufferScale && viewport == other.viewport && spriteScale == other.spriteScale;
    }
    bool operator!=(const BufferPlan& other) const { return !(*this == other); }
};

// Buffers for a surface of `logical` size: at the exact device resolution
// through a viewport where a fractional scale is known; else at the whole
// output scale where wl_compositor takes a buffer scale (version 3); else at
// the logical size. The sprite scale is --scale, or the device ratio's.
BufferPlan PlanBuffers(ClientSize logical, const ScaleOffer& offer);
