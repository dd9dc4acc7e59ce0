#include "x11/dirty_rects.h"

#include <algorithm>
#include <utility>

PaintRect ClipRect(const PaintRect& rect, ClientSize bounds) {
    PaintRect clipped{std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, bounds.width),
                      std::min(rect.bottom, bounds.height)};
    if (IsEmpty(clipped)) {
        return {0, 0, 0, 0};
    }
    return clipped;
}

void DirtyRects::add(const PaintRect& rect) {
    const PaintRect clipped = ClipRect(rect, bounds_);
    if (IsEmpty(clipped)) {
        return;
    }
    if (clipped.left == 0 && clipped.top == 0 && clipped.right == bounds_.width && clipped.bottom == bounds_.height) {
        rects_.assign(1, clipped);
        return;
    }
    if (!rects_.empty()) {
        PaintRect& last = rects_.back();
        if (last.top == clipped.top && last.bottom == clipped.bottom && last.right == clipped.left) {
            last.right = clipped.right;
            return;
        }
    }
    rects_.push_back(clipped);
}

std::vector<PaintRect> DirtyRects::take() {
    std::vector<PaintRect> taken;
    taken.swap(rects_);
    return taken;
}
