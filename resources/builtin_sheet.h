// The sprite sheet compiled into a native program: life9.dib exactly as
// tools/sheet_generator draws it, for front ends that have no resource
// section to load it from (the renderer, the X11 saver).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "display/indexed_image.h"
#include "display/packed_dib.h"

struct DecodedSheet {
    IndexedImage image;             // palette indices, top row first
    std::vector<RgbColor> palette;  // the colour table, 256 entries for the sheet
};

// The packed bitmap: info header, colour table, RLE8 pixels.
const uint8_t* BuiltInSheetBytes();
size_t BuiltInSheetSize();

// Any packed 8-bit RLE8 bitmap, decoded. False, leaving *sheet alone, on
// anything else or on damaged data.
bool DecodeSheet(const uint8_t* data, size_t size, DecodedSheet* sheet);

// The built-in sheet, decoded on the first call.
const DecodedSheet& BuiltInSheet();
