// Where the sprites lie on the 540 x 1890 sprite sheet. Shared by the sheet
// generator (which draws them there) and the painter (which copies them).
// y grows downward from the top of the sheet as shown.
#pragma once

#include "settings/settings.h"

constexpr int kSheetWidth = 540;
constexpr int kSheetHeight = 1890;
constexpr int kBandCount = 6;  // band b holds species b + 1
constexpr int kBandHeight = 315;
constexpr int BandTop[kBandCount] = {0, 315, 630, 945, 1260, 1575};

constexpr int kWriggleFrames = 8;  // one full turn
constexpr int kStretchStages = 3;  // 0 compact .. 2 most stretched

// One group of rows per cell size, indexed by CellSize (Small, Middle, Big).
// All offsets are relative to the band's top-left corner.
struct SpriteGroup {
    int wriggleSize;      // c: cells with wriggle on
    int plainSize;        // d: cells with wriggle off
    int blockTop;         // Y: top of the 8 x 3 wriggle block
    int singleColumn;     // x of the single sprites, 8 * c
    int newbornWriggleY;  // c x c
    int newbornPlainY;    // d x d
    int matureOneY;       // d x d, species mode One
    int matureOtherY;     // d x d, species modes Three and Six
};

constexpr SpriteGroup kSpriteGroups[3] = {
    {15, 10, 270, 120, 270, 285, 295, 305},  // Small
    {30, 20, 180, 240, 180, 210, 230, 250},  // Middle
    {60, 40, 0, 480, 0, 60, 100, 140},       // Big
};

// The group for a cell size. A value outside Small..Big (which no setting
// resolves to) is taken as Middle rather than read past the table.
inline const SpriteGroup& SpriteGroupFor(CellSize size) {
    const int index = static_cast<int>(size);
    return kSpriteGroups[index >= 0 && index < 3 ? index : static_cast<int>(CellSize::Middle)];
}
