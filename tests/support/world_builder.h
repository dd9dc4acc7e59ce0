// Builds small worlds from pictures for the tests: '#' is a live cell of
// species 1 (or the digit given), '.' is dead.
#pragma once

#include <string>
#include <vector>

#include "scripted_random.h"
#include "world/world.h"

// Allocates columns x rows with every cell seeded dead, then plants the
// picture with its top-left at (1, 1). No draw is left pending.
inline void PlantWorld(World& world, const std::vector<std::string>& picture, int columns = -1, int rows = -1) {
    if (columns < 0) {
        columns = picture.empty() ? 0 : static_cast<int>(picture[0].size());
    }
    if (rows < 0) {
        rows = static_cast<int>(picture.size());
    }
    {
        ScriptedRandom allDead(world, {}, 0);
        world.allocate(columns, rows);
    }
    for (int y = 0; y < static_cast<int>(picture.size()); ++y) {
        for (int x = 0; x < static_cast<int>(picture[y].size()); ++x) {
            const char c = picture[y][x];
            if (c == '.') {
                continue;
            }
            Cell& cell = world.cellAt(x + 1, y + 1);
            cell.makeAlive(true);
            cell.species = static_cast<uint8_t>(c == '#' ? 1 : c - '0');
        }
    }
}

inline std::vector<std::string> Picture(const World& world) {
    std::vector<std::string> rows;
    for (int y = 1; y <= world.height; ++y) {
        std::string row;
        for (int x = 1; x <= world.width; ++x) {
            row += world.cellAt(x, y).alive() ? '#' : '.';
        }
        rows.push_back(row);
    }
    return rows;
}

inline int Population(const World& world) {
    int n = 0;
    for (int y = 1; y <= world.height; ++y) {
        for (int x = 1; x <= world.width; ++x) {
            n += world.cellAt(x, y).alive();
        }
    }
    return n;
}
