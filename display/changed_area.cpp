#include "display/changed_area.h"

#include <algorithm>
#include <tuple>

void ChangedArea::reset(ClientSize client) {
    client_ = client;
    whole_ = false;
    rects_.clear();
}

void ChangedArea::add(const PaintRect& rect) {
    PaintRect clipped;
    if (!ClipToClient(rect, client_, &clipped)) {
        return;
    }
    if (clipped.left == 0 && clipped.top == 0 && clipped.right == client_.width && clipped.bottom == client_.height) {
        // A clear: whatever else the tick drew lies inside it.
        whole_ = true;
    }
    rects_.push_back(clipped);
}

long PixelsIn(const PaintRect& rect) { return static_cast<long>(rect.right - rect.left) * (rect.bottom - rect.top); }

long PixelsIn(const std::vector<PaintRect>& rects) {
    long pixels = 0;
    for (const PaintRect& r : rects) {
        pixels += PixelsIn(r);
    }
    return pixels;
}

namespace {

PaintRect Union(const PaintRect& a, const PaintRect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

// How many of the latest rectangles a run may join: those of the rows just
// above it, in any picture of sensible size.
constexpr size_t kLookBack = 16;

}  // namespace

std::vector<PaintRect> ChangedArea::merged(long callCost) const {
    if (whole_) {
        return {{0, 0, client_.width, client_.height}};
    }
    std::vector<PaintRect> rects = rects_;
    // Along each row of equal top and bottom, left to right: the order the
    // painter mostly draws in already.
    const auto alongRows = [](const PaintRect& a, const PaintRect& b) {
        return std::tie(a.top, a.bottom, a.left) < std::tie(b.top, b.bottom, b.left);
    };
    if (!std::is_sorted(rects.begin(), rects.end(), alongRows)) {
        std::sort(rects.begin(), rects.end(), alongRows);
    }
    std::vector<PaintRect> runs;
    for (const PaintRect& r : rects) {
        if (!runs.empty()) {
            PaintRect& last = runs.back();
            const long gap = static_cast<long>(r.left) - last.right;
            if (last.top == r.top && last.bottom == r.bottom && gap * (r.bottom - r.top) <= callCost) {
                last.right = std::max(last.right, r.right);
                continue;
            }
        }
        runs.push_back(r);
    }
    // Top to bottom, each run joins a recent rectangle when their union
    // adds at most a call's worth of pixels.
    std::vector<PaintRect> joined;
    for (const PaintRect& r : runs) {
        const size_t first = joined.size() > kLookBack ? joined.size() - kLookBack : 0;
        bool done = false;
        for (size_t i = joined.size(); i-- > first && !done;) {
            const PaintRect both = Union(joined[i], r);
            if (PixelsIn(both) - PixelsIn(joined[i]) - PixelsIn(r) <= callCost) {
                joined[i] = both;
                done = true;
            }
        }
        if (!done) {
            joined.push_back(r);
        }
    }
    return joined;
}
