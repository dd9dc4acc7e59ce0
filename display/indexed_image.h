// An 8-bit image of palette indices, stored top row first. The decoded
// sprite sheet and the in-memory frame the painter can draw into.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // width * height, row-major, top row first

    IndexedImage() = default;
    IndexedImage(int w, int h, uint8_t fill = 0)
        : width(w), height(h), pixels(static_cast<size_t>(w) * static_cast<size_t>(h), fill) {}

    uint8_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    uint8_t& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
};
