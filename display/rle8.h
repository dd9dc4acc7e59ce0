// The 8-bit run-length encoding of device-independent bitmaps (BI_RLE8).
// Rows are stored bottom-up; IndexedImage keeps them top row first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "display/indexed_image.h"

// Every pixel is written explicitly (no deltas), so any decoder gives the
// same picture whatever it does with skipped pixels. Ends with end-of-bitmap.
std::vector<uint8_t> EncodeRle8(const IndexedImage& image);

// Decodes size bytes into a width x height image. Pixels that the data skips
// (end of line, delta) stay 0. Returns false, leaving *image untouched, on
// anything that does not fit: truncated data, no end-of-bitmap code, a run or
// delta leaving its row or the image, or a bad size.
bool DecodeRle8(const uint8_t* data, size_t size, int width, int height, IndexedImage* image);
