// The sprite sheet as this test program carries it (LIFE9DIB among its
// resources), decoded: colour indices and the colours they stand for.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "display/indexed_image.h"
#include "display/packed_dib.h"

struct DecodedSheet {
    IndexedImage indices;
    std::vector<uint32_t> colours;  // 0x00RRGGBB by index

    bool load() {
        HRSRC info = FindResourceA(nullptr, "LIFE9DIB", RT_BITMAP);
        HGLOBAL loaded = info ? LoadResource(nullptr, info) : nullptr;
        const auto* data = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
        const size_t size = info ? SizeofResource(nullptr, info) : 0;
        PackedDibLayout layout;
        if (!data || !ParsePackedDib(data, size, &layout) || !DecodePackedRle8(data, size, &indices)) {
            return false;
        }
        for (uint32_t i = 0; i < layout.colorCount; ++i) {
            const RgbColor c = PackedDibColor(data, layout, i);
            colours.push_back((uint32_t{c.red} << 16) | (uint32_t{c.green} << 8) | c.blue);
        }
        return true;
    }

    // A frame of indices in these colours, row by row from the top.
    std::vector<uint32_t> inColour(const IndexedImage& frame) const {
        std::vector<uint32_t> pixels;
        pixels.reserve(frame.pixels.size());
        for (uint8_t index : frame.pixels) {
            pixels.push_back(colours[index]);
        }
        return pixels;
    }
};
