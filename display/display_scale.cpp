#include "display/display_scale.h"

#include <algorithm>
#include <cmath>

int ScaleForDeviceRatio(double ratio) {
    if (std::isnan(ratio)) {
        return 1;
    }
    return static_cast<int>(std::clamp(std::floor(ratio + 0.5), 1.0, static_cast<double>(kMaxDisplayScale)));
}

int ScaleForDpi(int dpi) { return ScaleForDeviceRatio(dpi / 96.0); }

ClientSize LogicalSize(ClientSize device, int scale) {
    return {std::max(device.width, 0) / scale, std::max(device.height, 0) / scale};
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
