#include "host/config/windows_family_windows.h"

namespace {
bool windows95Family = false;
}  // namespace

void SetWindows95Family(bool on) { windows95Family = on; }
bool Windows95Family() { return windows95Family; }
