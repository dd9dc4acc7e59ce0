#include "sheet/sheet_palette.h"

const RgbColor kStaticColors[20] = {
    {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},     {128, 0, 128},   {0, 128, 128},
    {192, 192, 192}, {192, 220, 192}, {166, 202, 240}, {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},
    {0, 255, 0},     {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
};

namespace {

// Full-strength band colours, lifted a little off the pure primaries so that
// blue and red stay readable on black.
constexpr RgbColor kHueColors[kHueCount] = {
    {70, 110, 255},  // blue
    {60, 235, 70},   // green
    {40, 225, 235},  // cyan
    {250, 60, 50},   // red
    {235, 65, 235},  // magenta
    {250, 225, 50},  // yellow
};

// Highlights stop short of white so that the ball keeps its colour.
constexpr int kHighlightPercent = 90;

uint8_t Scale(int value, int num, int den) { return static_cast<uint8_t>((value * num + den / 2) / den); }

uint8_t TowardsWhite(int value, int step) {
    int steps = kShadeLevels - kBodyLevels;
    return static_cast<uint8_t>(value + ((255 - value) * step * kHighlightPercent + steps * 50) / (steps * 100));
}

RgbColor Shade(const RgbColor& base, int level) {
    if (level <= kBodyLevels) {
        return {Scale(base.red, level, kBodyLevels), Scale(base.green, level, kBodyLevels),
                Scale(base.blue, level, kBodyLevels)};
    }
    int step = level - kBodyLevels;
    return {TowardsWhite(base.red, step), TowardsWhite(base.green, step), TowardsWhite(base.blue, step)};
}

}  // namespace

static_assert(kFirstShade + kHueCount * kShadeLevels - 1 <= kLastShade, "ramps overflow the shade entries");

std::vector<RgbColor> SheetPalette() {
    std::vector<RgbColor> palette(256);
    for (int i = 0; i < 10; ++i) {
        palette[i] = kStaticColors[i];
        palette[246 + i] = kStaticColors[10 + i];
    }
    for (int hue = 0; hue < kHueCount; ++hue) {
        for (int level = 1; level <= kShadeLevels; ++level) {
            palette[ShadeIndex(hue, level)] = Shade(kHueColors[hue], level);
        }
    }
    // Entries left over after the ramps: neutral greys, unused by the art.
    for (int i = kFirstShade + kHueCount * kShadeLevels; i <= kLastShade; ++i) {
        palette[i] = {96, 96, 96};
    }
    return palette;
}

uint8_t ShadeIndex(int hue, int level) { return static_cast<uint8_t>(kFirstShade + hue * kShadeLevels + level - 1); }
