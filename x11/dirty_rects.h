// The parts of a frame changed since they were last sent. The painter visits
// cells row by row from the left, so neighbouring cells of a row join into
// one rectangle as they come; a rectangle covering the whole frame replaces
// everything before it.
#pragma once

#include <vector>

#include "display/paint_target.h"

class DirtyRects {
public:
    explicit DirtyRects(ClientSize bounds = {0, 0}) : bounds_(bounds) {}

    // Clipped to the bounds; empty rectangles are dropped.
    void add(const PaintRect& rect);
    // The rectangles gathered, which are then forgotten.
    std::vector<PaintRect> take();
    bool empty() const { return rects_.empty(); }

private:
    ClientSize bounds_;
    std::vector<PaintRect> rects_;
};

// rect clipped to 0..width x 0..height; empty when nothing is left.
PaintRect ClipRect(const PaintRect& rect, ClientSize bounds);
inline bool IsEmpty(const PaintRect& rect) { return rect.left >= rect.right || rect.top >= rect.bottom; }
