#include "wayland/recorded_tick.h"

#include <cstdint>

#include "display/changed_area.h"

namespace {

// Rectangles of this many pixels or more are searched rather than looked up.
constexpr long kLargeRect = 256 * 256;

bool Contains(const PaintRect& outer, const PaintRect& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

}  // namespace

size_t RecordedTick::RectHash::operator()(const PaintRect& r) const {
    uint64_t h = static_cast<uint32_t>(r.left);
    for (const int v : {r.top, r.right, r.bottom}) {
        h = h * 0x9E3779B97F4A7C15ull ^ static_cast<uint32_t>(v);
    }
    return static_cast<size_t>(h ^ (h >> 29));
}

void RecordedTick::copy(int srcX, int srcY, int dstX, int dstY, int width, int height) {
    const PaintRect rect{dstX, dstY, dstX + width, dstY + height};
    operations_.push_back({false, srcX, srcY, rect});
    // Only a copy that reads inside the sheet paints its whole rectangle.
    if (srcX >= 0 && srcY >= 0 && srcX + width <= sheet_.width && srcY + height <= sheet_.height) {
        painted(rect);
    }
}

void RecordedTick::fillBlack(const PaintRect& rect) {
    operations_.push_back({true, 0, 0, rect});
    painted(rect);
}

void RecordedTick::painted(const PaintRect& rect) {
    if (PixelsIn(rect) >= kLargeRect) {
        large_.push_back(rect);
    } else {
        whole_.insert(rect);
    }
}

bool RecordedTick::covers(const PaintRect& rect) const {
    if (whole_.count(rect) != 0) {
        return true;
    }
    for (const PaintRect& large : large_) {
        if (Contains(large, rect)) {
            return true;
        }
    }
    return false;
}

void RecordedTick::replay(PaintTarget& target) const {
    for (const Operation& op : operations_) {
        if (op.fill) {
            target.fillBlack(op.rect);
        } else {
            target.copy(op.srcX, op.srcY, op.rect.left, op.rect.top, op.rect.right - op.rect.left,
                        op.rect.bottom - op.rect.top);
        }
    }
}
