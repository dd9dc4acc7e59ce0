#include "display/frame_target.h"

#include <algorithm>
#include <cstring>

#include "display/clipped_copy.h"

void FrameTarget::copy(int srcX, int srcY, int dstX, int dstY, int width, int height) {
    if (!source_) {
        return;
    }
    CopyClippedEnlarged(source_->pixels.data(), {source_->width, source_->height}, sourceScale_, frame_.pixels.data(),
                        {frame_.width, frame_.height}, srcX, srcY, dstX, dstY, width, height);
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
