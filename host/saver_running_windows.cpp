#include "host/saver_running_windows.h"

#include <windows.h>

#include "host/config/windows_family_windows.h"

namespace {
constexpr UINT kSpiScreenSaverRunning = 97;  // SPI_SCREENSAVERRUNNING
}  // namespace

int32_t SetSaverRunning(int32_t on) {
    if (!Windows95Family())
        return 0;
    UINT previous = 0;  // required by the call, never read
    return SystemParametersInfoA(kSpiScreenSaverRunning, static_cast<UINT>(on), &previous, 0);
}
