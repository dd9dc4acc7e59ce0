// The sheet's 256 colours: the twenty static colours of the Windows default
// palette at 0-9 and 246-255, and six shade ramps (one per band colour) in
// between. Sprites use only the ramps; the background is entry 0 (black).
#pragma once

#include <cstdint>
#include <vector>

#include "display/packed_dib.h"

constexpr int kFirstShade = 10;
constexpr int kLastShade = 245;
constexpr int kHueCount = 6;
// Levels 1..kBodyLevels run linearly from near-black to the full colour;
// the levels above blend towards white for highlights.
constexpr int kBodyLevels = 31;
constexpr int kShadeLevels = 39;

// Hue h is the colour of band h: species bits blue = 1, green = 2, red = 4.
enum Hue { kBlue, kGreen, kCyan, kRed, kMagenta, kYellow };

// The colour of the mature ball of band b in one-species worlds.
constexpr int kOneSpeciesMatureHue[kHueCount] = {kGreen, kRed, kMagenta, kBlue, kYellow, kCyan};

extern const RgbColor kStaticColors[20];  // 0-9, then 246-255

std::vector<RgbColor> SheetPalette();

// Palette index of a ramp level (1..kShadeLevels) of a hue.
uint8_t ShadeIndex(int hue, int level);
