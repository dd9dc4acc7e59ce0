// Palette colours as pixel values of a TrueColor visual, whose pixel holds
// red, green and blue in the bit fields its masks give. Portable: the X11
// code passes the masks it reads from the visual.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "display/packed_dib.h"

struct ChannelMasks {
    uint32_t red;
    uint32_t green;
    uint32_t blue;
};

// One pixel value per palette index (missing entries are black). Each 8-bit
// channel is scaled to its field, so a field of 8 bits takes it unchanged.
// Bits in no mask (the alpha byte of a 32-bit visual) are all set, so the
// picture stays opaque when a compositor reads them.
std::array<uint32_t, 256> PixelValues(const std::vector<RgbColor>& palette, ChannelMasks masks, int depth);
