// The arithmetic behind closing the saver: how far the cursor has moved, and
// whether a close request comes too soon after a password dialog.
#pragma once

#include <cstdint>

constexpr uint32_t kMoveTolerance = 4;
constexpr uint32_t kReaskIntervalMs = 200;
// lastCheckEndTick before the first password dialog has ended.
constexpr uint32_t kNoCheckYet = 0xFFFFFFFFu;

// |dx| + |dy| between two screen positions, as an unsigned 32-bit value.
uint32_t MovementDistance(int32_t originX, int32_t originY, int32_t x, int32_t y);

// True when the cursor has left the area of `tolerance` pixels (both axes
// added) around the origin.
bool MovedBeyondTolerance(int32_t originX, int32_t originY, int32_t x, int32_t y, uint32_t tolerance);

// True when `now` lies less than the re-ask interval after the last password
// dialog ended. GetTickCount wraps every 49.7 days; the difference is taken
// modulo 2^32 so the wrap changes nothing.
bool WithinReaskInterval(uint32_t now, uint32_t lastCheckEndTick);
