#include "web/canvas_frame.h"

#include "display/frame_target.h"

namespace {

// Index 0, the frame's fill, is black in the sheet's palette.
constexpr uint32_t kOpaqueBlack = 0xFF000000;

}  // namespace

void CanvasFrame::resize(ClientSize device) {
    frame_ = IndexedImage(device.width, device.height);
    rgba_.assign(frame_.pixels.size(), kOpaqueBlack);
    changed_.reset(device);
    shown_.clear();
}

void CanvasFrame::beginTick() { changed_.reset(clientSize()); }

const std::vector<PaintRect>& CanvasFrame::endTick(const RgbaPalette& palette) {
    shown_ = changed_.empty() ? std::vector<PaintRect>{} : changed_.merged(kShowCallCost);
    const size_t stride = static_cast<size_t>(frame_.width);
    for (const PaintRect& r : shown_) {
        for (int y = r.top; y < r.bottom; ++y) {
            const uint8_t* from = &frame_.pixels[y * stride + r.left];
            uint32_t* to = &rgba_[y * stride + r.left];
            for (int x = r.left; x < r.right; ++x) {
                *to++ = palette[*from++];
            }
        }
    }
    return shown_;
}

void CanvasFrame::copy(int srcX, int srcY, int dstX, int dstY, int width, int height) {
    FrameTarget(frame_, sheet_).copy(srcX, srcY, dstX, dstY, width, height);
    changed_.add({dstX, dstY, dstX + width, dstY + height});
}

void CanvasFrame::fillBlack(const PaintRect& rect) {
    FrameTarget(frame_, sheet_).fillBlack(rect);
    changed_.add(rect);
}
