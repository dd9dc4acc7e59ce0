#include "wayland/commit_damage.h"

#include <algorithm>

std::vector<PaintRect> CommitDamage(std::vector<PaintRect> rects) {
    if (rects.size() <= kMostDamageRects) {
        return rects;
    }
    PaintRect all = rects.front();
    for (const PaintRect& rect : rects) {
        all = {std::min(all.left, rect.left), std::min(all.top, rect.top), std::max(all.right, rect.right),
               std::max(all.bottom, rect.bottom)};
    }
    return {all};
}
