// This machine's byte order as X11 names it, for images written with plain
// stores of whole pixels (XPutImage swaps for a server that differs).
#pragma once

#include <X11/X.h>

#include <cstdint>

inline int NativeByteOrder() {
    const uint16_t probe = 1;
    return *reinterpret_cast<const uint8_t*>(&probe) == 1 ? LSBFirst : MSBFirst;
}
