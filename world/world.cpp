#include "world/world.h"

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <new>

#include "world/species.h"

namespace {

class NoHooks final : public WorldHooks {
public:
    void PaintLiveCell(Cell&) override {}
    void PaintDeadCell(Cell&) override {}
    void NewWorld() override {}
    void ClearScreen() override {}
};
NoHooks noHooks;

// Stands in until a World is given its source: a draw here is a fault in the
// caller, and a silent number would hide it.
class NoRandom final : public RandomSource {
public:
    int32_t draw() override {
        std::fputs("World: drawn from before a random source was set\n", stderr);
        std::abort();
    }
};
NoRandom noRandom;

// (columns + 1) x (rows + 2) + 1, or 0 when that cannot be addressed.
size_t RecordsFor(int32_t columns, int32_t rows) {
    if (columns < 0 || rows < 0) {
        return 0;
    }
    const uint64_t records = (static_cast<uint64_t>(columns) + 1) * (static_cast<uint64_t>(rows) + 2) + 1;
    // Indices are computed as int32 (x + y * stride).
    if (records > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) {
        return 0;
    }
    return static_cast<size_t>(records);
}

}  // namespace

World::World() : hooks_(&noHooks), random_(&noRandom) {}

World::World(RandomSource& random) : hooks_(&noHooks), random_(&random) {}

void World::allocate(int32_t columns, int32_t rows) {
    const size_t records = RecordsFor(columns, rows);
    cells.reset(records ? new (std::nothrow) Cell[records] : nullptr);
    rowState_.reset(cells ? new (std::nothrow) uint8_t[static_cast<size_t>(rows) + 2]() : nullptr);
    if (!cells || !rowState_) {
        release();
        return;
    }
    width = columns;
    height = rows;
    stride = columns + 1;
    bottomRow = rows + 1;
    recordCount_ = records;
    seed();
}

void World::resize(int32_t columns, int32_t rows) {
    cells.reset();
    allocate(columns, rows);
}

void World::release() {
    cells.reset();
    rowState_.reset();
    width = height = 0;
    stride = bottomRow = 1;
    recordCount_ = 0;
    population_ = 0;
}

void World::seed() {
    if (!cells) {
        return;
    }
    countdown = rules.lifeRules ? int64_t{rules.generations} : 2 * int64_t{rules.generations};
    if (rules.speciesMode == SpeciesMode::One) {
        worldSpecies = DrawWorldSpecies(*random_);
    }
    size_t live = 0;
    for (int32_t y = 1; y <= height; ++y) {
        for (int32_t x = 1; x <= width; ++x) {
            Cell& cell = cellAt(x, y);
            cell.x = x;
            cell.y = y;
            cell.wriggleFrame = kWriggleNotStarted;
            if (rules.lifeRules && random_->draw() < kSeedDeadBelow) {
                cell.kill();
                continue;
            }
            cell.makeAlive(true);
            cell.species = InitialSpecies(rules.speciesMode, worldSpecies, *random_);
            ++live;
        }
    }
    population_ = live;
}

void World::addNeighbour(int32_t x, int32_t y, uint8_t species) {
    if (rules.wrapEdges) {
        if (x == 0) {
            x = width;
        } else if (x == stride) {
            x = 1;
        }
        if (y == 0) {
            y = height;
        } else if (y == bottomRow) {
            y = 1;
        }
    }
    cellAt(x, y).receive(species);
}
