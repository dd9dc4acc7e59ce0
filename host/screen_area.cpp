#include "host/screen_area.h"

namespace {

// In 64 bits: a far-off left edge plus a width must not wrap.
bool Holds(const ScreenRect& outer, int64_t width, int64_t height) {
    const int64_t right = int64_t{outer.left} + outer.width;
    const int64_t bottom = int64_t{outer.top} + outer.height;
    return outer.left <= 0 && outer.top <= 0 && right >= width && bottom >= height;
}

}  // namespace

ScreenRect FullScreenArea(const ScreenMetrics& metrics) {
    const ScreenRect& virtualScreen = metrics.virtualScreen;
    if (virtualScreen.width > 0 && virtualScreen.height > 0 &&
        Holds(virtualScreen, metrics.primaryWidth, metrics.primaryHeight)) {
        return virtualScreen;
    }
    return ScreenRect{0, 0, metrics.primaryWidth, metrics.primaryHeight};
}
