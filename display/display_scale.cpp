#include "display/display_scale.h"

#include <algorithm>
#include <cstring>

int ScaleForDpi(int dpi) {
    // Bounded first, so that a huge DPI cannot overflow the rounding.
    const int bounded = std::clamp(dpi, 0, kMaxDisplayScale * 96);
    return std::clamp((bounded + 48) / 96, 1, kMaxDisplayScale);
}

ClientSize LogicalSize(ClientSize device, int scale) {
    return {std::max(device.width, 0) / scale, std::max(device.height, 0) / scale};
}

IndexedImage EnlargedImage(const IndexedImage& image, int scale) {
    IndexedImage enlarged(image.width * scale, image.height * scale);
    for (int y = 0; y < image.height; ++y) {
        uint8_t* row = &enlarged.pixels[static_cast<size_t>(y) * scale * enlarged.width];
        for (int x = 0; x < image.width; ++x) {
            std::memset(row + static_cast<size_t>(x) * scale, image.at(x, y), static_cast<size_t>(scale));
        }
        for (int k = 1; k < scale; ++k) {
            std::memcpy(row + static_cast<size_t>(k) * enlarged.width, row, static_cast<size_t>(enlarged.width));
        }
    }
    return enlarged;
}

void ScaledTarget::copy(int srcX, int srcY, int dstX, int dstY, int width, int height) {
    const int s = scale_;
    device_.copy(srcX * s, srcY * s, dstX * s, dstY * s, width * s, height * s);
}

void ScaledTarget::fillBlack(const PaintRect& rect) {
    const int s = scale_;
    device_.fillBlack({rect.left * s, rect.top * s, rect.right * s, rect.bottom * s});
}

void ScaledTarget::clear(ClientSize /*client*/) { device_.clear(device_.clientSize()); }
