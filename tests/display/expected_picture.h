// What a window must show after a tick, worked out from the cells rather
// than from the painter's calls: each live cell's newborn sprite until it
// has lived 16 generations, then its grown sprite; black for dead cells and
// for the strips no cell covers.
#pragma once

#include <cstdint>
#include <vector>

#include "display/effective_settings.h"
#include "display/sheet_geometry.h"
#include "world/world.h"

struct CellSnapshot {
    uint32_t history;
    uint8_t species;
};

// The cells as the next tick will paint them.
inline std::vector<CellSnapshot> TakeSnapshot(const World& world) {
    std::vector<CellSnapshot> cells;
    for (int y = 1; y <= world.height; ++y) {
        for (int x = 1; x <= world.width; ++x) {
            cells.push_back({world.cellAt(x, y).history, world.cellAt(x, y).species});
        }
    }
    return cells;
}

struct SheetPoint {
    bool black;
    int x;
    int y;
};

// The sheet pixel the window shows at (px, py) once a tick has painted the
// cells in `before`; wriggle frames are read from the world after the tick.
inline SheetPoint ExpectedSheetPoint(int px, int py, const std::vector<CellSnapshot>& before, const World& world,
                                     const EffectiveSettings& e) {
    const int column = px / e.cellWidth;
    const int row = py / e.cellHeight;
    if (column >= world.width || row >= world.height) {
        return {true, 0, 0};
    }
    const CellSnapshot& cell = before[static_cast<size_t>(row) * world.width + column];
    if ((cell.history & 1u) == 0) {
        return {true, 0, 0};
    }
    const SpriteGroup& group = kSpriteGroups[static_cast<int>(e.cellSize)];
    const int top = BandTop[cell.species - 1];
    int srcX = group.singleColumn;
    int srcY = top + (e.wriggle ? group.newbornWriggleY : group.newbornPlainY);
    if ((cell.history & 0xFFFFu) == 0xFFFFu) {
        if (e.wriggle) {
            int stage = cell.history == 0xFFFFFFFFu ? 2 : (cell.history & 0xFFFFFFu) == 0xFFFFFFu ? 1 : 0;
            if (e.shrink) {
                stage = (cell.history & 0xFFFFFFu) == 0xFFFFFFu ? world.cellAt(column + 1, row + 1).shrinkPhase / 4 : 0;
            }
            srcX = world.cellAt(column + 1, row + 1).wriggleFrame * e.cellWidth;
            srcY = top + group.blockTop + stage * e.cellHeight;
        } else {
            srcY = top + group.matureOneY + (e.speciesMode == SpeciesMode::One ? 0 : e.cellHeight);
        }
    }
    return {false, srcX + px % e.cellWidth, srcY + py % e.cellHeight};
}
