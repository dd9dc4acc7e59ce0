#include "wayland/idle_lock.h"

#include <algorithm>

std::string IdleLockPath(const std::string& runtimeDir, const std::string& waylandDisplay) {
    std::string display = waylandDisplay;
    std::replace(display.begin(), display.end(), '/', '_');
    return runtimeDir + "/quorbel-wayland-idle-" + display + ".lock";
}
