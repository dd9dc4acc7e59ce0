#include "display/frame_target.h"

#include <algorithm>
#include <cstring>

#include "display/clipped_copy.h"

namespace {

// A sprite row is a few dozen bytes at most: copied in fixed-size pieces,
// which compile to plain moves, it costs less than a call to the C
// library's memcpy (under Wine, a trip into msvcrt for each row).
void CopyRow(uint8_t* to, const uint8_t* from, size_t n) {
    if (n > 64) {
        std::memcpy(to, from, n);
        return;
    }
    for (; n >= 8; n -= 8, to += 8, from += 8) {
        std::memcpy(to, from, 8);
    }
    if (n >= 4) {
        std::memcpy(to, from, 4);
        to += 4;
        from += 4;
        n -= 4;
    }
    for (; n > 0; --n) {
        *to++ = *from++;
    }
}

}  // namespace

void FrameTarget::copy(int srcX, int srcY, int dstX, int dstY, int width, int height) {
    if (!source_) {
        return;
    }
    CopyClipped(source_->pixels.data(), {source_->width, source_->height}, frame_.pixels.data(),
                {frame_.width, frame_.height}, srcX, srcY, dstX, dstY, width, height, CopyRow);
}

void FrameTarget::fillBlack(const PaintRect& rect) {
    PaintRect clipped;
    if (!ClipToClient(rect, clientSize(), &clipped)) {
        return;
    }
    for (int y = clipped.top; y < clipped.bottom; ++y) {
        std::memset(&frame_.at(clipped.left, y), 0, static_cast<size_t>(clipped.right - clipped.left));
    }
}
