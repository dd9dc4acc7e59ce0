// Draws the sprite sheet: six colour bands, each with the wriggle blocks
// (a two-lobed body in 8 directions x 3 stretch stages) and the single
// newborn and mature balls, at the places given by display/sheet_geometry.h.
#pragma once

#include <cstdint>
#include <vector>

#include "display/indexed_image.h"
#include "settings/settings.h"

// The whole 540 x 1890 sheet as palette indices, top row first.
IndexedImage DrawSheet();

// Only the sprites of one cell size, in every band, into a sheet-sized
// image (the rest left as it is): for a program that draws the sheet as it
// needs it.
void DrawSheetGroup(IndexedImage& sheet, CellSize size);

// The sheet as the program embeds it: info header, colour table and the
// BI_RLE8 pixel data of DrawSheet().
std::vector<uint8_t> BuildSheetDib();

// Pieces of the sheet, for tests. `square` is the sprite's side in pixels.
IndexedImage DrawWriggleSprite(int square, int frame, int stage, int hue);
IndexedImage DrawNewbornSprite(int square, bool smallerThanCell, int hue);
IndexedImage DrawMatureSprite(int square, int hue);
