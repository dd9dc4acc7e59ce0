#include <gtest/gtest.h>

#include <set>

#include "world/species.h"
#include "world_builder.h"

namespace {

struct Case {
    SpeciesMode mode;
    std::vector<uint8_t> parents;
    std::vector<int32_t> draws;
    uint8_t expected;
};

Cell Newborn(const std::vector<uint8_t>& parents) {
    Cell cell;
    for (uint8_t p : parents) {
        cell.neighbourSpecies[cell.neighbourSpeciesCount++] = p;
    }
    return cell;
}

}  // namespace

TEST(Species, InheritanceUsesExactlyTheDrawsOfTheRules) {
    const Case cases[] = {
        // Three: one species present, no draw.
        {SpeciesMode::Three, {2, 2, 2}, {}, 2},
        // Three: two species, the low bit decides, two parents count once.
        {SpeciesMode::Three, {1, 1, 2}, {4}, 1},
        {SpeciesMode::Three, {1, 1, 2}, {5}, 2},
        {SpeciesMode::Three, {2, 4, 4}, {1}, 4},
        // Three: all three, draw mod 3.
        {SpeciesMode::Three, {1, 2, 4}, {3}, 1},
        {SpeciesMode::Three, {1, 2, 4}, {7}, 2},
        {SpeciesMode::Three, {4, 2, 1}, {32765}, 4},
        // Six: the union 7 loses trait 1, 2 or 4.
        {SpeciesMode::Six, {1, 2, 4}, {0}, 6},
        {SpeciesMode::Six, {1, 2, 4}, {1}, 5},
        {SpeciesMode::Six, {1, 2, 4}, {2}, 3},
        // Six: each two-trait parent passes one trait, low bit first.
        {SpeciesMode::Six, {3, 3, 3}, {0, 2, 4}, 1},
        {SpeciesMode::Six, {3, 3, 3}, {1, 3, 5}, 2},
        {SpeciesMode::Six, {3, 3, 3}, {0, 1, 0}, 3},
        {SpeciesMode::Six, {6, 1, 1}, {0}, 3},
        {SpeciesMode::Six, {6, 1, 1}, {1}, 5},
        {SpeciesMode::Six, {5, 6, 3}, {0, 0, 0}, 3},
        {SpeciesMode::Six, {5, 6, 3}, {0, 1, 1, 2}, 3},  // 1|4|2 = 7, drop 4
        {SpeciesMode::Six, {5, 6, 3}, {1, 0, 1}, 6},     // 4|2|2 = 6, no fourth draw
        {SpeciesMode::Six, {2, 2, 2}, {}, 2},
    };
    for (const Case& c : cases) {
        ScriptedRandom script(c.draws);
        const Cell cell = Newborn(c.parents);
        EXPECT_EQ(c.expected, inheritSpecies(cell, c.mode, script))
            << "mode " << int(c.mode) << " parents " << int(c.parents[0]) << int(c.parents[1]) << int(c.parents[2]);
        EXPECT_EQ(c.draws.size(), script.draws());
    }
}

TEST(Species, ListStopsAtTheFirstEmptyEntry) {
    Cell cell = Newborn({1, 1});
    cell.neighbourSpecies[3] = 4;  // after the 0 at index 2: not read
    ScriptedRandom none;
    EXPECT_EQ(1, inheritSpecies(cell, SpeciesMode::Three, none));
    EXPECT_EQ(1, inheritSpecies(Newborn({}), SpeciesMode::Six, none));
}

TEST(Species, InitialSpeciesPerMode) {
    ScriptedRandom script({0, 1, 2, 0, 5, 32767, 2});
    EXPECT_EQ(1, InitialSpecies(SpeciesMode::Three, 3, script));
    EXPECT_EQ(2, InitialSpecies(SpeciesMode::Three, 3, script));
    EXPECT_EQ(4, InitialSpecies(SpeciesMode::Three, 3, script));
    EXPECT_EQ(1, InitialSpecies(SpeciesMode::Six, 3, script));
    EXPECT_EQ(6, InitialSpecies(SpeciesMode::Six, 3, script));
    EXPECT_EQ(2, InitialSpecies(SpeciesMode::Six, 3, script));  // 32767 % 6 = 1
    EXPECT_EQ(3, InitialSpecies(SpeciesMode::One, 3, script));  // no draw
    EXPECT_EQ(3, DrawWorldSpecies(script));
    EXPECT_EQ(7u, script.draws());
}

TEST(Species, NewbornsReadTheirParentsInCountingOrderAcrossTheWrap) {
    // (2, 1) is born from (1, 1), (3, 1) and, across the top edge, (2, 3):
    // the parent in the last row comes last.
    World world;
    world.rules.wrapEdges = true;
    world.rules.speciesMode = SpeciesMode::Six;
    PlantWorld(world, {"3.6", "...", "...", ".5."});
    // Cells (1,1), (3,1) and (2,4) are also each other's neighbours through
    // the wrap, so read the newborn's list when (2,4), the last live cell,
    // has made its additions.
    struct Peek final : WorldHooks {
        World* w;
        std::vector<uint8_t> seen;
        void PaintDeadCell(Cell&) override {}
        void PaintLiveCell(Cell& c) override {
            if (c.x == 2 && c.y == 4) {
                const Cell& n = w->cellAt(2, 1);
                seen.assign(n.neighbourSpecies, n.neighbourSpecies + n.neighbourSpeciesCount);
            }
        }
        void NewWorld() override {}
        void ClearScreen() override {}
    } peek;
    peek.w = &world;
    world.setHooks(peek);
    ScriptedRandom draws(world, {}, 0);
    world.step();
    EXPECT_EQ((std::vector<uint8_t>{3, 6, 5}), peek.seen);
    EXPECT_TRUE(world.cellAt(2, 1).alive());
    EXPECT_EQ(3, world.cellAt(2, 1).species);  // 3 gives 1, 6 gives 2, 5 gives 1
}

TEST(Species, ModeOneWorldIsOneSpeciesThroughout) {
    World world;
    world.rules.speciesMode = SpeciesMode::One;
    world.rules.generations = 1000;
    ScriptedRandom script(world, {2});
    for (int i = 0; i < 100; ++i) {
        script.push({i % 3 == 0 ? 30000 : 0});
    }
    world.allocate(10, 10);
    EXPECT_EQ(3, world.worldSpecies);
    for (int n = 0; n < 30; ++n) {
        world.step();
        for (int y = 1; y <= 10; ++y) {
            for (int x = 1; x <= 10; ++x) {
                const Cell& c = world.cellAt(x, y);
                ASSERT_EQ(c.alive() ? 3 : 0, c.species);
            }
        }
    }
}

TEST(Species, LongRandomRunsStayWithinTheirModes) {
    const std::pair<SpeciesMode, std::set<int>> modes[] = {
        {SpeciesMode::One, {1, 2, 3}},
        {SpeciesMode::Three, {1, 2, 4}},
        {SpeciesMode::Six, {1, 2, 3, 4, 5, 6}},
    };
    for (const auto& [mode, allowed] : modes) {
        CrtRandom random;
        random.seed(1234 + static_cast<uint32_t>(mode));
        World world(random);
        world.rules.speciesMode = mode;
        world.rules.wrapEdges = true;
        world.allocate(40, 30);
        std::set<int> seen;
        for (int n = 0; n < 400; ++n) {
            world.step();
            for (int y = 1; y <= world.height; ++y) {
                for (int x = 1; x <= world.width; ++x) {
                    const Cell& c = world.cellAt(x, y);
                    ASSERT_EQ(c.alive(), c.species != 0);
                    if (c.alive()) {
                        ASSERT_TRUE(allowed.count(c.species)) << int(c.species) << " in mode " << int(mode);
                        seen.insert(c.species);
                    }
                }
            }
        }
        if (mode != SpeciesMode::One) {
            EXPECT_EQ(allowed, seen) << "every species of mode " << int(mode) << " should occur";
        }
    }
}
