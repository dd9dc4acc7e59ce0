// The sprite sheet the painter copies from, and its palette.
#pragma once

#include <vector>

#include "display/indexed_image.h"
#include "display/packed_dib.h"

struct SheetSource {
    IndexedImage image;
    std::vector<RgbColor> palette;
};

// Decoded once, on first use.
const SheetSource& TheSheet();
