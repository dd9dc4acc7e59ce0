#include "web/canvas_frame.h"

#include <algorithm>
#include <cmath>

#include "display/frame_target.h"

namespace {

// Index 0, the frame's fill, is black in the sheet's palette.
constexpr uint32_t kOpaqueBlack = 0xFF000000;

}  // namespace

ClientSize CappedPicture(ClientSize device, int64_t pixelLimit) {
    const int64_t width = std::max(1, device.width);
    const int64_t height = std::max(1, device.height);
    const int64_t limit = std::clamp<int64_t>(pixelLimit, 1, kPicturePixelLimit);
    // Both sides are below 2^31, so the area fits.
    const double factor = std::min({1.0, static_cast<double>(kPictureSideLimit) / static_cast<double>(width),
                                    static_cast<double>(kPictureSideLimit) / static_cast<double>(height),
                                    std::sqrt(static_cast<double>(limit) / static_cast<double>(width * height))});
    int64_t cappedWidth =
        std::clamp<int64_t>(static_cast<int64_t>(static_cast<double>(width) * factor), 1, kPictureSideLimit);
    int64_t cappedHeight =
        std::clamp<int64_t>(static_cast<int64_t>(static_cast<double>(height) * factor), 1, kPictureSideLimit);
    // The factor's rounding may leave the area a little over.
    while (cappedWidth * cappedHeight > limit) {
        (cappedWidth >= cappedHeight ? cappedWidth : cappedHeight) -= 1;
    }
    return {static_cast<int>(cappedWidth), static_cast<int>(cappedHeight)};
}

void CanvasFrame::resize(ClientSize device) {
    frame_ = IndexedImage();
    std::vector<uint32_t>().swap(rgba_);
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
    FrameTarget(frame_, sheet_, sheetScale_).copy(srcX, srcY, dstX, dstY, width, height);
    changed_.add({dstX, dstY, dstX + width, dstY + height});
}

void CanvasFrame::fillBlack(const PaintRect& rect) {
    FrameTarget(frame_, sheet_).fillBlack(rect);
    changed_.add(rect);
}
