#include "saver_program/close_rules.h"

namespace {
uint32_t AbsoluteDifference(int32_t a, int32_t b) {
    // In 64 bits, so extreme coordinates cannot overflow.
    int64_t d = static_cast<int64_t>(a) - static_cast<int64_t>(b);
    return static_cast<uint32_t>(d < 0 ? -d : d);
}
}  // namespace

uint32_t MovementDistance(int32_t originX, int32_t originY, int32_t x, int32_t y) {
    return AbsoluteDifference(x, originX) + AbsoluteDifference(y, originY);
}

bool MovedBeyondTolerance(int32_t originX, int32_t originY, int32_t x, int32_t y, uint32_t tolerance) {
    return MovementDistance(originX, originY, x, y) > tolerance;
}

bool WithinReaskInterval(uint32_t now, uint32_t lastCheckEndTick) {
    if (lastCheckEndTick == kNoCheckYet)
        return false;
    return now - lastCheckEndTick < kReaskIntervalMs;
}
