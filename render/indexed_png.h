// An 8-bit image of palette indices as a PNG with that palette, written with
// libpng. No time or text chunks: the same picture gives the same bytes.
#pragma once

#include <cstdio>
#include <vector>

#include "display/indexed_image.h"
#include "display/packed_dib.h"

// False when libpng fails or the file cannot be written; then *reason, when
// given, is the write's errno (0 for a failure of libpng's own).
bool WriteIndexedPng(FILE* file, const IndexedImage& image, const std::vector<RgbColor>& palette,
                     int* reason = nullptr);
