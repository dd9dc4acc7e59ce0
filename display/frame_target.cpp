#include "display/frame_target.h"

#include <algorithm>
#include <cstring>

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
    // Offsets into the rectangle that lie inside both images.
    const int firstX = std::max({0, -srcX, -dstX});
    const int firstY = std::max({0, -srcY, -dstY});
    const int endX = std::min({width, source_->width - srcX, frame_.width - dstX});
    const int endY = std::min({height, source_->height - srcY, frame_.height - dstY});
    if (firstX >= endX) {
        return;
    }
    const size_t fromStride = static_cast<size_t>(source_->width);
    const size_t toStride = static_cast<size_t>(frame_.width);
    const uint8_t* from = source_->pixels.data() + static_cast<size_t>(srcY + firstY) * fromStride + srcX + firstX;
    uint8_t* to = frame_.pixels.data() + static_cast<size_t>(dstY + firstY) * toStride + dstX + firstX;
    for (int j = firstY; j < endY; ++j, from += fromStride, to += toStride) {
        CopyRow(to, from, static_cast<size_t>(endX - firstX));
    }
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
