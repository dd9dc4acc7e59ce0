#include <gtest/gtest.h>

#include "world_builder.h"

namespace {

World SeededWorld(bool lifeRules, SpeciesMode mode, std::vector<int32_t> draws, size_t expectedDraws, int columns = 2,
                  int rows = 2) {
    World world;
    world.rules.lifeRules = lifeRules;
    world.rules.speciesMode = mode;
    {
        ScriptedRandom script(world, std::move(draws));
        world.allocate(columns, rows);
        EXPECT_EQ(expectedDraws, script.draws());
        EXPECT_EQ(0u, script.unused());
    }
    return world;
}

}  // namespace

TEST(WorldSeed, ModeOneDrawsWorldSpeciesFirstThenOneDrawPerCell) {
    // worldSpecies 1 % 3 + 1 = 2; then dead, alive (24574 is the first alive
    // draw), dead (24573), alive.
    World world = SeededWorld(true, SpeciesMode::One, {1, 0, 24574, 24573, 32767}, 5);
    EXPECT_EQ(2, world.worldSpecies);
    EXPECT_EQ(Picture(world), (std::vector<std::string>{".#", ".#"}));
    EXPECT_EQ(2, world.cellAt(2, 1).species);
    EXPECT_EQ(2, world.cellAt(2, 2).species);
    EXPECT_EQ(0, world.cellAt(1, 1).species);
}

TEST(WorldSeed, ModeThreeDrawsSpeciesRightAfterEachAliveDraw) {
    World world = SeededWorld(true, SpeciesMode::Three, {24574, 2, 0, 32767, 3, 24573}, 6);
    EXPECT_EQ(4, world.cellAt(1, 1).species);  // 2 % 3 = 2 gives 4
    EXPECT_EQ(0, world.cellAt(2, 1).species);
    EXPECT_EQ(1, world.cellAt(1, 2).species);  // 3 % 3 = 0 gives 1
    EXPECT_EQ(0, world.cellAt(2, 2).species);
}

TEST(WorldSeed, ModeSixTakesDrawModSixPlusOne) {
    World world = SeededWorld(true, SpeciesMode::Six, {30000, 11, 30000, 6, 30000, 4, 30000, 1}, 8);
    EXPECT_EQ(6, world.cellAt(1, 1).species);
    EXPECT_EQ(1, world.cellAt(2, 1).species);
    EXPECT_EQ(5, world.cellAt(1, 2).species);
    EXPECT_EQ(2, world.cellAt(2, 2).species);
}

TEST(WorldSeed, WithoutLifeRulesEveryCellIsAliveWithoutAliveDraws) {
    World one = SeededWorld(false, SpeciesMode::One, {2}, 1, 3, 2);
    EXPECT_EQ(6, Population(one));
    EXPECT_EQ(3, one.cellAt(3, 2).species);
    World six = SeededWorld(false, SpeciesMode::Six, {0, 1, 2, 3}, 4);
    EXPECT_EQ(1, six.cellAt(1, 1).species);
    EXPECT_EQ(4, six.cellAt(2, 2).species);
}

TEST(WorldSeed, EmptyGridInModeOneStillDrawsWorldSpecies) {
    SeededWorld(true, SpeciesMode::One, {0}, 1, 0, 4);
    SeededWorld(true, SpeciesMode::Three, {}, 0, 4, 0);
}

TEST(WorldSeed, CountdownIsGenerationsOrTwiceWithoutLifeRules) {
    World world;
    world.rules.generations = 4294967295u;
    PlantWorld(world, {}, 1, 1);
    EXPECT_EQ(4294967295LL, world.countdown);
    world.rules.lifeRules = false;
    ScriptedRandom any(world, {}, 0);
    world.seed();
    EXPECT_EQ(2 * 4294967295LL, world.countdown);
}

TEST(WorldSeed, ReseedInPlaceKeepsOlderBitsOfDeadCellsAndShrinkPhase) {
    World world;
    PlantWorld(world, {"##", "##"}, 3, 2);
    for (int i = 0; i < 5; ++i) {
        world.step();
    }
    world.cellAt(1, 1).shrinkPhase = 7;
    world.cellAt(1, 1).wriggleFrame = 3;
    world.cellAt(3, 1).wriggleFrame = 3;
    // Species draw, then (1,1) dead, (2,1) alive, the rest dead.
    ScriptedRandom script(world, {0, 0, 30000, 0, 0, 0, 0});
    world.seed();
    EXPECT_EQ(0x3Eu, world.cellAt(1, 1).history);  // bit 0 cleared, older bits kept
    EXPECT_EQ(1u, world.cellAt(2, 1).history);     // seeded alive: exactly 1
    EXPECT_EQ(7, world.cellAt(1, 1).shrinkPhase);
    for (int y = 1; y <= 2; ++y) {
        for (int x = 1; x <= 3; ++x) {
            EXPECT_EQ(kWriggleNotStarted, world.cellAt(x, y).wriggleFrame);
        }
    }
}
