// The parts of the picture one tick changed, and the few rectangles that put
// them on screen. Showing a rectangle has a fixed cost per call besides its
// pixels, so neighbours on a row are joined when the gap between them costs
// less than a call, and equal runs in rows one under the other are stacked.
#pragma once

#include <vector>

#include "display/paint_target.h"

class ChangedArea {
public:
    // Forgets everything; later rectangles are clipped to client.
    void reset(ClientSize client);
    void add(const PaintRect& rect);
    bool empty() const { return rects_.empty(); }

    // Rectangles that cover every change and nothing outside the client
    // area. A gap of g pixels on a row of height h is bridged when g * h is at
    // most callCost; a change of the whole client area is one rectangle.
    std::vector<PaintRect> merged(int callCost) const;

private:
    ClientSize client_{0, 0};
    bool whole_ = false;
    std::vector<PaintRect> rects_;
};
