// One generation: paint the current one, compute the next, and decide
// whether the world goes on.
#include <cstring>

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
    const bool lifeRules = rules.lifeRules;
    WorldHooks* const hooks = hooks_;
    for (int32_t y = 1; y <= height; ++y) {
        Cell* cell = &cellAt(1, y);
        Cell* const rowEnd = cell + width;
        for (; cell != rowEnd; ++cell) {
            if (!cell->alive()) {
                hooks->PaintDeadCell(*cell);
                continue;
            }
            sawLife = true;
            if (lifeRules) {
                addNeighbours(*cell);
            }
            hooks->PaintLiveCell(*cell);
        }
    }
}

// The eight additions of a live cell, in the order (x-1,y-1), (x,y-1),
// (x+1,y-1), (x-1,y), (x+1,y), (x-1,y+1), (x,y+1), (x+1,y+1). Only cells on
// the edge of a wrapped grid need their positions mapped; everywhere else
// the neighbours are plain offsets, since without wrap the border records
// take what falls off the edge.
void World::addNeighbours(Cell& cell) {
    const int32_t x = cell.x;
    const int32_t y = cell.y;
    const uint8_t s = cell.species;
    const bool onEdge = x == 1 || x == width || y == 1 || y == height;
    if (rules.wrapEdges && onEdge) {
        addNeighbour(x - 1, y - 1, s);
        addNeighbour(x, y - 1, s);
        addNeighbour(x + 1, y - 1, s);
        addNeighbour(x - 1, y, s);
        addNeighbour(x + 1, y, s);
        addNeighbour(x - 1, y + 1, s);
        addNeighbour(x, y + 1, s);
        addNeighbour(x + 1, y + 1, s);
        return;
    }
    Cell* const above = &cell - stride;
    Cell* const below = &cell + stride;
    if (onEdge) {
        // Some of these are border records, whose lists must not overflow.
        above[-1].receive(s);
        above[0].receive(s);
        above[1].receive(s);
        (&cell)[-1].receive(s);
        (&cell)[1].receive(s);
        below[-1].receive(s);
        below[0].receive(s);
        below[1].receive(s);
        return;
    }
    above[-1].receiveInGrid(s);
    above[0].receiveInGrid(s);
    above[1].receiveInGrid(s);
    (&cell)[-1].receiveInGrid(s);
    (&cell)[1].receiveInGrid(s);
    below[-1].receiveInGrid(s);
    below[0].receiveInGrid(s);
    below[1].receiveInGrid(s);
}

void World::rulePass() {
    const bool lifeRules = rules.lifeRules;
    size_t live = 0;
    for (int32_t y = 1; y <= height; ++y) {
        Cell* cell = &cellAt(1, y);
        Cell* const rowEnd = cell + width;
        for (; cell != rowEnd; ++cell) {
            // Empty space, long dead and with no live neighbour, stays as it
            // is: nothing to age, kill or clear. Most of a settled world.
            if ((cell->history | cell->neighbourCount) == 0) {
                continue;
            }
            cell->shiftHistory();
            if (!lifeRules) {
                live += cell->history & 1u;
                continue;
            }
            // Lives on with 2 or 3 neighbours if alive, with exactly 3 if dead:
            // the count with the alive bit or-ed in is then exactly 3.
            const uint32_t wasAlive = cell->history & 1u;
            const bool livesOn = (cell->neighbourCount | wasAlive) == 3;
            if (livesOn && !wasAlive) {
                birth(*cell);
            }
            // kill(), written without a branch: most cells take it.
            cell->history &= ~static_cast<uint32_t>(!livesOn);
            cell->species = livesOn ? cell->species : 0;
            live += livesOn;
            // Cheaper to clear every cell than to test which need it.
            cell->neighbourCount = 0;
            std::memset(cell->neighbourSpecies, 0, sizeof cell->neighbourSpecies);
            cell->neighbourSpeciesCount = 0;
        }
    }
    population_ = live;
}

void World::birth(Cell& cell) {
    if ((cell.history & kNoveltyWindow) == 0) {
        novelty = true;
    }
    cell.makeAlive(false);
    cell.species =
        rules.speciesMode == SpeciesMode::One ? worldSpecies : inheritSpecies(cell, rules.speciesMode, *random_);
}
