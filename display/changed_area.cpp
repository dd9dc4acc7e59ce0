#include "display/changed_area.h"

#include <algorithm>
#include <tuple>

void ChangedArea::reset(ClientSize client) {
    client_ = client;
    whole_ = false;
    rects_.clear();
}

void ChangedArea::add(const PaintRect& rect) {
    const PaintRect clipped{std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, client_.width),
                            std::min(rect.bottom, client_.height)};
    if (clipped.left >= clipped.right || clipped.top >= clipped.bottom) {
        return;
    }
    if (clipped.left == 0 && clipped.top == 0 && clipped.right == client_.width &&
        clipped.bottom == client_.height) {
        // A clear: whatever else the tick drew lies inside it.
        whole_ = true;
    }
    rects_.push_back(clipped);
}

std::vector<PaintRect> ChangedArea::merged(int callCost) const {
    if (whole_) {
        return {{0, 0, client_.width, client_.height}};
    }
    std::vector<PaintRect> rects = rects_;
    // Along each row of equal top and bottom, left to right.
    std::sort(rects.begin(), rects.end(), [](const PaintRect& a, const PaintRect& b) {
        return std::tie(a.top, a.bottom, a.left) < std::tie(b.top, b.bottom, b.left);
    });
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
    // Runs of equal extent that touch from row to row become one.
    std::sort(runs.begin(), runs.end(), [](const PaintRect& a, const PaintRect& b) {
        return std::tie(a.left, a.right, a.top) < std::tie(b.left, b.right, b.top);
    });
    std::vector<PaintRect> stacked;
    for (const PaintRect& r : runs) {
        if (!stacked.empty()) {
            PaintRect& last = stacked.back();
            if (last.left == r.left && last.right == r.right && r.top <= last.bottom) {
                last.bottom = std::max(last.bottom, r.bottom);
                continue;
            }
        }
        stacked.push_back(r);
    }
    return stacked;
}
