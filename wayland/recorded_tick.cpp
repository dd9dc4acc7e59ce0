#include "wayland/recorded_tick.h"

#include <algorithm>

#include "display/changed_area.h"

namespace {

// Rectangles of this many pixels or more are searched, wherever they are.
constexpr long kLargeRect = 256 * 256;
// How far on from the last one found a rectangle is looked for.
constexpr size_t kLookAhead = 8;

bool Contains(const PaintRect& outer, const PaintRect& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

bool Same(const PaintRect& a, const PaintRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

void RecordedTick::reset(ClientSize size, ClientSize sheet) {
    size_ = size;
    sheet_ = sheet;
    operations_.clear();
    whole_.clear();
    large_.clear();
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

void RecordedTick::painted(const PaintRect& rect) { (PixelsIn(rect) >= kLargeRect ? large_ : whole_).push_back(rect); }

bool RecordedTick::Cover::covers(const PaintRect& rect) {
    const std::vector<PaintRect>& whole = tick_.whole_;
    const size_t end = std::min(whole.size(), next_ + kLookAhead);
    for (size_t i = next_; i < end; ++i) {
        if (Same(whole[i], rect)) {
            next_ = i + 1;
            return true;
        }
    }
    return std::any_of(tick_.large_.begin(), tick_.large_.end(),
                       [&](const PaintRect& large) { return Contains(large, rect); });
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
