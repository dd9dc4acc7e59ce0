// The surface kind and buffer plan for each offer a compositor can make,
// including those no compositor here shows: no layer shell (GNOME, weston),
// no fractional scale (sway), a wl_compositor older than version 3.
#include "wayland/surface_plan.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Text(const BufferPlan& plan) {
    return std::to_string(plan.device.width) + "x" + std::to_string(plan.device.height) + " buffer scale " +
           std::to_string(plan.bufferScale) + (plan.viewport ? " viewport" : "") + " sprites " +
           std::to_string(plan.spriteScale);
}

// Faults caught: an overlay asked for where no layer shell is offered (a
// protocol error on GNOME), or a --window made an overlay.
TEST(SurfacePlan, AnOverlayOnlyWhereTheLayerShellIsOfferedAndNeverForAWindow) {
    EXPECT_EQ(SurfaceRole::kOverlay, RoleFor(false, true));
    EXPECT_EQ(SurfaceRole::kFullScreen, RoleFor(false, false));
    EXPECT_EQ(SurfaceRole::kWindow, RoleFor(true, true));
    EXPECT_EQ(SurfaceRole::kWindow, RoleFor(true, false));
}

// Faults caught: set_buffer_scale sent to a wl_compositor older than 3 (a
// protocol error); a fractional scale drawn at the whole output scale
// (blurred) or rounded other than halves away from zero; the whole-number
// buffer scale lost where no fractional scale is known; the sprite scale
// not following the device ratio, or --scale not taking precedence.
TEST(SurfacePlan, BuffersAtTheDeviceResolutionTheOfferAllows) {
    struct Case {
        ClientSize logical;
        ScaleOffer offer;
        const char* expected;
    } cases[] = {
        {{1280, 800}, {4, 2, 180, 0}, "1920x1200 buffer scale 1 viewport sprites 2"},
        {{1280, 800}, {4, 1, 150, 0}, "1600x1000 buffer scale 1 viewport sprites 1"},
        {{101, 33}, {4, 1, 180, 0}, "152x50 buffer scale 1 viewport sprites 2"},  // 151.5, 49.5 up
        {{101, 33}, {4, 1, 174, 0}, "146x48 buffer scale 1 viewport sprites 1"},  // 146.45, 47.85
        {{1280, 800}, {2, 2, 180, 0}, "1920x1200 buffer scale 0 viewport sprites 2"},
        {{1280, 800}, {4, 2, 0, 0}, "2560x1600 buffer scale 2 sprites 2"},
        {{512, 384}, {3, 5, 0, 0}, "2560x1920 buffer scale 5 sprites 4"},
        {{1280, 800}, {4, 2, 180, 3}, "1920x1200 buffer scale 1 viewport sprites 3"},
        {{1024, 768}, {2, 2, 0, 0}, "1024x768 buffer scale 0 sprites 1"},
        {{1024, 768}, {2, 2, 0, 2}, "1024x768 buffer scale 0 sprites 2"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, Text(PlanBuffers(c.logical, c.offer)))
            << c.logical.width << "x" << c.logical.height << ", wl_compositor " << c.offer.compositorVersion
            << ", output scale " << c.offer.outputScale << ", fractional " << c.offer.preferred120;
    }
}

}  // namespace
