#include "host/screen_area.h"

#include <algorithm>

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

namespace {

int64_t Right(const ScreenRect& r) { return int64_t{r.left} + r.width; }
int64_t Bottom(const ScreenRect& r) { return int64_t{r.top} + r.height; }

}  // namespace

ScreenRect Bounds(const MonitorList& monitors) {
    if (monitors.empty()) {
        return {};
    }
    int64_t left = monitors[0].area.left;
    int64_t top = monitors[0].area.top;
    int64_t right = Right(monitors[0].area);
    int64_t bottom = Bottom(monitors[0].area);
    for (const Monitor& m : monitors) {
        left = std::min<int64_t>(left, m.area.left);
        top = std::min<int64_t>(top, m.area.top);
        right = std::max(right, Right(m.area));
        bottom = std::max(bottom, Bottom(m.area));
    }
    const auto clamp = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, 0, INT32_MAX)); };
    return {static_cast<int32_t>(left), static_cast<int32_t>(top), clamp(right - left), clamp(bottom - top)};
}

ScreenRect PartInClient(const ScreenRect& monitor, const ScreenRect& client) {
    const int64_t left = std::max<int64_t>(monitor.left, client.left);
    const int64_t top = std::max<int64_t>(monitor.top, client.top);
    const int64_t right = std::min(Right(monitor), Right(client));
    const int64_t bottom = std::min(Bottom(monitor), Bottom(client));
    if (left >= right || top >= bottom) {
        return {};
    }
    return {static_cast<int32_t>(left - client.left), static_cast<int32_t>(top - client.top),
            static_cast<int32_t>(right - left), static_cast<int32_t>(bottom - top)};
}
