// The parts of the picture one tick changed, and the few rectangles that put
// them on screen. Showing a rectangle has a fixed cost per call besides its
// pixels, so two rectangles are shown as one wherever the pixels that adds
// cost less than the call it saves.
#pragma once

#include <vector>

#include "display/paint_target.h"

// What showing a rectangle costs besides its pixels, in pixels, for a front
// end that shows a tick one rectangle a call (GDI's copy to the window, the
// canvas's upload): the cheapest ticks in the tick benchmark under Wine
// (merging more shows more pixels than the calls it saves are worth).
constexpr long kShowCallCost = 1000;

// Pixels in a rectangle, and in a list of them (overlaps counted twice).
long PixelsIn(const PaintRect& rect);
long PixelsIn(const std::vector<PaintRect>& rects);

class ChangedArea {
public:
    // Forgets everything; later rectangles are clipped to client.
    void reset(ClientSize client);
    void add(const PaintRect& rect);
    bool empty() const { return rects_.empty(); }
    // Every change as drawn, clipped.
    const std::vector<PaintRect>& changes() const { return rects_; }

    // Rectangles that cover every change and nothing outside the client
    // area, callCost being what a call costs in pixels: first along each
    // row of cells, then each run with a rectangle above it. A change of the
    // whole client area is one rectangle.
    std::vector<PaintRect> merged(long callCost) const;

private:
    ClientSize client_{0, 0};
    bool whole_ = false;
    std::vector<PaintRect> rects_;
};
