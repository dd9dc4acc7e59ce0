// One generation: paint the current one, compute the next, and decide
// whether the world goes on.
#include <cstring>

#include "world/random_source.h"
#include "world/species.h"
#include "world/world.h"

namespace {

// History bits 16..31: alive 16 to 31 generations before. A birth where all
// of them are clear is novel.
constexpr uint32_t kNoveltyWindow = 0xFFFF0000u;

}  // namespace

void World::step() {
    novelty = false;
    bool sawLife = false;
    if (cells) {
        countingPass(sawLife);
        rulePass();
    }

    if (!sawLife) {
        // NewWorld sets the countdown afresh.
        hooks_->NewWorld();
        hooks_->ClearScreen();
        return;
    }
    if (novelty) {
        return;
    }
    if (countdown-- == 0) {
        hooks_->NewWorld();
        hooks_->ClearScreen();
    }
}

void World::countingPass(bool& sawLife) {
    for (int32_t y = 1; y <= height; ++y) {
        for (int32_t x = 1; x <= width; ++x) {
            Cell& cell = cellAt(x, y);
            if (!cell.alive()) {
                hooks_->PaintDeadCell(cell);
                continue;
            }
            sawLife = true;
            if (rules.lifeRules) {
                const uint8_t s = cell.species;
                addNeighbour(x - 1, y - 1, s);
                addNeighbour(x, y - 1, s);
                addNeighbour(x + 1, y - 1, s);
                addNeighbour(x - 1, y, s);
                addNeighbour(x + 1, y, s);
                addNeighbour(x - 1, y + 1, s);
                addNeighbour(x, y + 1, s);
                addNeighbour(x + 1, y + 1, s);
            }
            hooks_->PaintLiveCell(cell);
        }
    }
}

void World::rulePass() {
    for (int32_t y = 1; y <= height; ++y) {
        for (int32_t x = 1; x <= width; ++x) {
            Cell& cell = cellAt(x, y);
            cell.shiftHistory();
            if (!rules.lifeRules) {
                continue;
            }
            switch (cell.neighbourCount) {
                case 2:
                    break;
                case 3:
                    if (!cell.alive()) {
                        birth(cell);
                    }
                    break;
                default:
                    cell.kill();
                    break;
            }
            // A grid cell's list is filled only by its own additions, so an
            // empty list means nothing to clear.
            if (cell.neighbourSpeciesCount != 0) {
                cell.neighbourCount = 0;
                std::memset(cell.neighbourSpecies, 0, sizeof cell.neighbourSpecies);
                cell.neighbourSpeciesCount = 0;
            }
        }
    }
}

void World::birth(Cell& cell) {
    if ((cell.history & kNoveltyWindow) == 0) {
        novelty = true;
    }
    cell.makeAlive(false);
    cell.species = rules.speciesMode == SpeciesMode::One ? worldSpecies
                                                         : inheritSpecies(cell, rules.speciesMode);
}
