#include "x11/auto_scale.h"

#include <cmath>
#include <cstdlib>

#include "display/display_scale.h"

namespace {

// Servers that know nothing of the monitor report sizes for 96 DPI or
// nonsense such as 0 mm; outside this range the size is not believed.
constexpr double kLowestPlausibleDpi = 50;
constexpr double kHighestPlausibleDpi = 600;
constexpr int kLargeScreen = 2560;

std::optional<double> Dpi(const std::string& text) {
    char* end = nullptr;
    const double dpi = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || !(dpi > 0 && dpi < 10000)) {
        return std::nullopt;
    }
    return dpi;
}

int Rounded(double dpi) { return static_cast<int>(std::lround(dpi)); }

}  // namespace

int AutoScale(const ScreenFacts& facts) {
    if (facts.xftDpi) {
        if (const std::optional<double> dpi = Dpi(*facts.xftDpi)) {
            return ScaleForDpi(Rounded(*dpi));
        }
    }
    if (facts.millimetres.width > 0 && facts.millimetres.height > 0) {
        const double across = facts.pixels.width * 25.4 / facts.millimetres.width;
        const double down = facts.pixels.height * 25.4 / facts.millimetres.height;
        const double dpi = (across + down) / 2;
        if (dpi >= kLowestPlausibleDpi && dpi <= kHighestPlausibleDpi) {
            return ScaleForDpi(Rounded(dpi));
        }
    }
    return facts.pixels.width > kLargeScreen || facts.pixels.height > kLargeScreen ? 2 : 1;
}
