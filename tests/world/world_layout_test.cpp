#include <gtest/gtest.h>

#include "recording_hooks.h"
#include "world_builder.h"

TEST(WorldLayout, AddressesRecordsRowMajorWithBorders) {
    World world;
    PlantWorld(world, {}, 64, 48);
    EXPECT_EQ(65, world.stride);
    EXPECT_EQ(49, world.bottomRow);
    EXPECT_EQ(3251u, world.recordCount());
    EXPECT_EQ(66, &world.cellAt(1, 1) - world.cells.get());
    EXPECT_EQ(3184, &world.cellAt(64, 48) - world.cells.get());
    EXPECT_EQ(3250, &world.cellAt(65, 49) - world.cells.get());
    // The shared border column: (0, y) is (width + 1, y - 1).
    EXPECT_EQ(&world.cellAt(0, 10), &world.cellAt(65, 9));
}

TEST(WorldLayout, FreshRecordsStartEmpty) {
    World world;
    PlantWorld(world, {}, 3, 2);
    for (size_t i = 0; i < world.recordCount(); ++i) {
        const Cell& c = world.cells[i];
        EXPECT_EQ(0u, c.history);
        EXPECT_EQ(0, c.neighbourCount);
        EXPECT_EQ(0, c.shrinkPhase);
        EXPECT_EQ(0, c.species);
        EXPECT_EQ(0, c.neighbourSpeciesCount);
    }
}

TEST(WorldLayout, EmptyGridsHaveNoGridCells) {
    for (auto [w, h] : {std::pair{0, 5}, std::pair{5, 0}, std::pair{0, 0}}) {
        World world;
        world.rules.speciesMode = SpeciesMode::Three;
        ScriptedRandom none(world);  // seeding must not draw at all
        world.allocate(w, h);
        ASSERT_TRUE(world.hasCells());
        EXPECT_EQ(size_t((w + 1) * (h + 2) + 1), world.recordCount());
        EXPECT_EQ(0u, none.draws());
    }
}

TEST(WorldLayout, UnaddressableSizeLeavesTheWorldWithoutCells) {
    World world;
    ScriptedRandom none(world);
    world.allocate(1 << 20, 1 << 20);
    EXPECT_FALSE(world.hasCells());
    EXPECT_EQ(0, world.width);
    world.seed();  // nothing to seed, no draw
    EXPECT_EQ(0u, none.draws());
}

TEST(WorldWrap, SingleCellGridAddsToItselfEightTimes) {
    World world;
    world.rules.wrapEdges = true;
    world.rules.speciesMode = SpeciesMode::Six;
    PlantWorld(world, {"4"});
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (dx != 0 || dy != 0) {
                world.addNeighbour(1 + dx, 1 + dy, 4);
            }
        }
    }
    const Cell& cell = world.cellAt(1, 1);
    EXPECT_EQ(8, cell.neighbourCount);
    EXPECT_EQ(8, cell.neighbourSpeciesCount);
    for (uint8_t s : cell.neighbourSpecies) {
        EXPECT_EQ(4, s);
    }
}

TEST(WorldWrap, WidthTwoMakesLeftAndRightTheSameCell) {
    World world;
    world.rules.wrapEdges = true;
    PlantWorld(world, {"..", "#.", ".."});
    world.addNeighbour(0, 2, 1);  // left of (1, 2)
    world.addNeighbour(2, 2, 1);  // right of (1, 2)
    EXPECT_EQ(2, world.cellAt(2, 2).neighbourCount);
    // Corners wrap on both axes.
    world.addNeighbour(0, 0, 1);
    EXPECT_EQ(1, world.cellAt(2, 3).neighbourCount);
    world.addNeighbour(3, 4, 1);
    EXPECT_EQ(1, world.cellAt(1, 1).neighbourCount);
}

TEST(WorldWrap, WithoutWrapEdgeCellsFeedOnlyTheBorder) {
    // A live column at x = 1 adds to the shared column, which is also
    // (width + 1, y - 1); no grid cell on the right edge sees it.
    World world;
    world.rules.wrapEdges = false;
    PlantWorld(world, {"#...", "#...", "#..."});
    RecordingHooks hooks;
    world.setHooks(hooks);
    world.step();
    EXPECT_EQ(Picture(world), (std::vector<std::string>{"....", "##..", "...."}));
    for (int y = 1; y <= 3; ++y) {
        EXPECT_FALSE(world.cellAt(4, y).alive());
    }
}

TEST(WorldWrap, BorderCountsKeepCountingAndWrapButListsStopAtEight) {
    World world;
    PlantWorld(world, {"##", "##"}, 2, 2);
    for (int i = 0; i < 300; ++i) {
        world.step();
    }
    // (0, 0) gets one addition per step from the block's corner (1, 1).
    const Cell& corner = world.cellAt(0, 0);
    EXPECT_EQ(300 % 256, corner.neighbourCount);
    EXPECT_EQ(8, corner.neighbourSpeciesCount);
    for (int y = 1; y <= 2; ++y) {
        for (int x = 1; x <= 2; ++x) {
            EXPECT_EQ(0, world.cellAt(x, y).neighbourCount);
        }
    }
}
