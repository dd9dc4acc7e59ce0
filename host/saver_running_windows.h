// The system's "a saver is running" state, which on the Windows 95 family
// turns off task switching (and so must be cleared whatever way the saver
// ends). The password check sets and clears it; the fault guard clears it.
#pragma once

#include <cstdint>

// Tells a Windows 95 family system that a saver runs (1) or not (0) and
// returns the call's result; on the NT family it does nothing and returns 0.
int32_t SetSaverRunning(int32_t on);
