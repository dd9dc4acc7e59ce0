#include "display/frame_target.h"

#include <algorithm>
#include <cstring>

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
        std::memcpy(to, from, static_cast<size_t>(endX - firstX));
    }
}

void FrameTarget::fillBlack(const PaintRect& rect) {
    const int left = std::max(rect.left, 0);
    const int top = std::max(rect.top, 0);
    const int right = std::min(rect.right, frame_.width);
    const int bottom = std::min(rect.bottom, frame_.height);
    if (left >= right) {
        return;
    }
    for (int y = top; y < bottom; ++y) {
        std::memset(&frame_.at(left, y), 0, static_cast<size_t>(right - left));
    }
}
