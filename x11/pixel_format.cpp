#include "x11/pixel_format.h"

namespace {

// The 8-bit level placed in the mask's field, rounded to the field's width.
uint32_t Field(uint8_t level, uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    int shift = 0;
    while (((mask >> shift) & 1u) == 0) {
        ++shift;
    }
    const uint32_t max = mask >> shift;  // 2^width - 1
    const auto scaled = static_cast<uint32_t>((uint64_t{level} * max + 127u) / 255u);
    return (scaled << shift) & mask;
}

}  // namespace

std::array<uint32_t, 256> PixelValues(const std::vector<RgbColor>& palette, ChannelMasks masks, int depth) {
    const uint32_t depthBits = depth >= 32 ? 0xFFFFFFFFu : (1u << depth) - 1u;
    const uint32_t spare = depthBits & ~(masks.red | masks.green | masks.blue);
    std::array<uint32_t, 256> values{};
    for (size_t i = 0; i < values.size(); ++i) {
        const RgbColor color = i < palette.size() ? palette[i] : RgbColor{};
        values[i] =
            Field(color.red, masks.red) | Field(color.green, masks.green) | Field(color.blue, masks.blue) | spare;
    }
    return values;
}
