// One generation: paint the current one, compute the next, and decide
// whether the world goes on.
#include <cstring>

#include "world/species.h"
#include "world/world.h"

namespace {

// History bits 16..31: alive 16 to 31 generations before. A birth where all
// of them are clear is novel.
constexpr uint32_t kNoveltyWindow = 0xFFFF0000u;
constexpr uint32_t kAlivePrevious = 1u << 1;

// What the counting pass learns of a row for the rule pass.
constexpr uint8_t kRowHasLife = 1;     // it and both neighbour rows get additions
constexpr uint8_t kRowHasHistory = 2;  // some cell has a history to age

// Only a live cell or one that has just died has anything to draw; the
// painter is not called for the rest of the dead.
void Paint(WorldHooks& hooks, Cell& cell) {
    if (cell.alive()) {
        hooks.PaintLiveCell(cell);
    } else if ((cell.history & kAlivePrevious) != 0) {
        hooks.PaintDeadCell(cell);
    }
}

}  // namespace

void World::step() {
    novelty = false;
    bool sawLife = false;
    if (cells && rules.lifeRules) {
        countingPass(sawLife);
        rulePass();
    } else if (cells) {
        paintAndAge(sawLife);
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

// Paints each cell and makes the additions of the live ones; notes for the
// rule pass which rows have life or any history at all.
void World::countingPass(bool& sawLife) {
    WorldHooks& hooks = *hooks_;
    uint8_t* const rowState = rowState_.get();
    for (int32_t y = 1; y <= height; ++y) {
        Cell* cell = &cellAt(1, y);
        Cell* const rowEnd = cell + width;
        uint32_t seen = 0;
        for (; cell != rowEnd; ++cell) {
            seen |= cell->history;
            if (cell->alive()) {
                addNeighbours(*cell);
            }
            Paint(hooks, *cell);
        }
        const bool rowHasLife = (seen & 1u) != 0;
        rowState[y] = static_cast<uint8_t>((rowHasLife ? kRowHasLife : 0) | (seen != 0 ? kRowHasHistory : 0));
        sawLife = sawLife || rowHasLife;
    }
    // Rows 0 and height + 1 stand for the neighbours across the top and
    // bottom edges: the wrapped rows, or the border that is never alive.
    const bool wrap = rules.wrapEdges && height > 0;
    rowState[0] = wrap ? rowState[height] : 0;
    rowState[bottomRow] = wrap ? rowState[1] : 0;
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

// Without the Life rules nothing is born or dies and no cell reads another,
// so each cell can age right after it is painted: one visit instead of two.
void World::paintAndAge(bool& sawLife) {
    WorldHooks& hooks = *hooks_;
    size_t live = 0;
    for (int32_t y = 1; y <= height; ++y) {
        Cell* cell = &cellAt(1, y);
        Cell* const rowEnd = cell + width;
        for (; cell != rowEnd; ++cell) {
            live += cell->history & 1u;
            Paint(hooks, *cell);
            cell->shiftHistory();
        }
    }
    population_ = live;
    sawLife = live != 0;
}

void World::rulePass() {
    const uint8_t* const rowState = rowState_.get();
    size_t live = 0;
    for (int32_t y = 1; y <= height; ++y) {
        // A row whose words are all 0 and that no live cell touches has
        // nothing to age, kill or clear, and no birth: its counts are all 0.
        const bool getsAdditions = ((rowState[y - 1] | rowState[y] | rowState[y + 1]) & kRowHasLife) != 0;
        if ((rowState[y] & kRowHasHistory) == 0 && !getsAdditions) {
            continue;
        }
        Cell* cell = &cellAt(1, y);
        Cell* const rowEnd = cell + width;
        for (; cell != rowEnd; ++cell) {
            // Empty space, long dead and with no live neighbour, stays as it
            // is: nothing to age, kill or clear. Most of a settled world.
            if ((cell->history | cell->neighbourCount) == 0) {
                continue;
            }
            cell->shiftHistory();
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
