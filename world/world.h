// The one grid of cells that the saver evolves and draws.
//
// The array holds (width + 1) x (height + 2) + 1 records in rows of `stride`
// = width + 1. Grid cells are x = 1..width, y = 1..height; row 0, row
// height + 1 and one shared column (index y * stride, which is both (0, y)
// and (width + 1, y - 1)) are border records. Without edge wrap, edge cells
// add to the border, which is never evaluated, so the grid behaves as if
// surrounded by dead cells, and the additions need no bounds test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "settings/settings.h"
#include "world/cell.h"
#include "world/random_source.h"
#include "world/world_hooks.h"

// The values the World reads from the settings in force for this world.
struct WorldRules {
    bool lifeRules = true;
    bool wrapEdges = false;
    SpeciesMode speciesMode = SpeciesMode::One;  // One, Three or Six
    uint32_t generations = 20;                   // the Generations setting
};

// Seeding leaves a cell dead for draws 0..24573: about three cells in four.
constexpr int32_t kSeedDeadBelow = 24574;

class World {
public:
    // A World without a random source must be given one (setRandom) before
    // it seeds or steps anything that draws; a draw without one aborts.
    World();
    explicit World(RandomSource& random);

    void setHooks(WorldHooks& hooks) { hooks_ = &hooks; }
    // Seeding, births and species inheritance draw from this source.
    void setRandom(RandomSource& random) { random_ = &random; }
    RandomSource& random() const { return *random_; }

    // Builds the array for columns x rows and seeds it. If the array cannot
    // be had, the World has no cells: seeding does nothing and each step
    // asks for a new world, which may allocate again.
    void allocate(int32_t columns, int32_t rows);
    void resize(int32_t columns, int32_t rows);
    void seed();
    void step();
    // Drops the array: the World has no cells until the next allocate.
    void release();

    bool hasCells() const { return cells != nullptr; }
    // Live cells as the last seed or step left them (0 without cells).
    size_t population() const { return population_; }
    size_t recordCount() const { return recordCount_; }
    Cell& cellAt(int32_t x, int32_t y) { return cells[x + y * stride]; }
    const Cell& cellAt(int32_t x, int32_t y) const { return cells[x + y * stride]; }
    void addNeighbour(int32_t x, int32_t y, uint8_t species);

    WorldRules rules;

    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 1;
    int32_t bottomRow = 1;
    std::unique_ptr<Cell[]> cells;
    bool novelty = false;
    // Wider than the Generations setting so that any value, and its double
    // without the Life rules, is only a long wait, never an overflow.
    int64_t countdown = 0;
    uint8_t worldSpecies = 1;

private:
    void countingPass(bool& sawLife);
    void paintAndAge(bool& sawLife);
    void addNeighbours(Cell& cell);
    void rulePass();
    void birth(Cell& cell);

    WorldHooks* hooks_;
    RandomSource* random_;
    // One entry per row, 0..height + 1, filled by each step's counting pass
    // for its rule pass; allocated with the cells.
    std::unique_ptr<uint8_t[]> rowState_;
    size_t recordCount_ = 0;
    size_t population_ = 0;
};
