#include "wayland/surface_plan.h"

#include <algorithm>

#include "display/display_scale.h"

namespace {

// One side at a fractional scale, halves away from zero.
int Scaled(int side, uint32_t scale120) {
    const int64_t product = static_cast<int64_t>(std::max(side, 0)) * scale120;
    return static_cast<int>((product + kFractionalScaleDenominator / 2) / kFractionalScaleDenominator);
}

}  // namespace

SurfaceRole RoleFor(bool window, bool layerShellOffered) {
    if (window) {
        return SurfaceRole::kWindow;
    }
    return layerShellOffered ? SurfaceRole::kOverlay : SurfaceRole::kFullScreen;
}

BufferPlan PlanBuffers(ClientSize logical, const ScaleOffer& offer) {
    BufferPlan plan;
    // A buffer scale set before the viewport came must go back to 1.
    const bool bufferScaleTaken = offer.compositorVersion >= 3;
    double ratio = 1.0;
    if (offer.preferred120 != 0) {
        plan.device = {Scaled(logical.width, offer.preferred120), Scaled(logical.height, offer.preferred120)};
        plan.bufferScale = bufferScaleTaken ? 1 : 0;
        plan.viewport = true;
        ratio = static_cast<double>(offer.preferred120) / kFractionalScaleDenominator;
    } else if (bufferScaleTaken) {
        const int scale = std::max(offer.outputScale, 1);
        plan.device = {logical.width * scale, logical.height * scale};
        plan.bufferScale = scale;
        ratio = scale;
    } else {
        plan.device = logical;
    }
    plan.spriteScale = offer.spriteScaleOption != 0 ? offer.spriteScaleOption : ScaleForDeviceRatio(ratio);
    return plan;
}
