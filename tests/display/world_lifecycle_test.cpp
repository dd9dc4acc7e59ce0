#include "display/world_lifecycle.h"

#include <gtest/gtest.h>

#include "scripted_random.h"

namespace {

// Marks every grid cell so that a reseed in place (which keeps shrinkPhase)
// can be told from a rebuild (fresh records).
void MarkCells(World& world) {
    for (int y = 1; y <= world.height; ++y) {
        for (int x = 1; x <= world.width; ++x) {
            world.cellAt(x, y).shrinkPhase = 7;
        }
    }
}

bool CellsKeptTheirMark(const World& world) {
    return world.width > 0 && world.cellAt(1, 1).shrinkPhase == 7 &&
           world.cellAt(world.width, world.height).shrinkPhase == 7;
}

}  // namespace

TEST(WorldLifecycle, FirstWorldFitsTheClientArea) {
    Settings settings = DefaultSettings();
    settings.Generations = 9;
    EffectiveSettings e{};
    World world;
    {
        ScriptedRandom random(world, {}, 30000);
        ResolveStartSettings(settings, e, random);
        AllocateFirstWorld(world, settings, e, {1024, 768});
    }
    EXPECT_EQ(34, world.width);
    EXPECT_EQ(25, world.height);
    EXPECT_EQ(9, world.countdown);
    EXPECT_TRUE(world.rules.lifeRules);
}

TEST(WorldLifecycle, SameSizeDrawnAgainReseedsInPlace) {
    Settings settings = DefaultSettings();  // wriggle on
    settings.Size = CellSize::Random;
    EffectiveSettings e{};
    World world;
    const ClientSize window{333, 247};
    {
        ScriptedRandom random(world, {4}, 30000);  // 4 mod 3: Middle
        ResolveStartSettings(settings, e, random);
        AllocateFirstWorld(world, settings, e, window);
    }
    ASSERT_EQ(CellSize::Middle, e.cellSize);
    ASSERT_EQ(11, world.width);
    MarkCells(world);
    const Cell* array = world.cells.get();

    ScriptedRandom random(world, {7}, 30000);  // 7 mod 3: Middle again
    RenewWorld(world, settings, e, window);
    EXPECT_EQ(array, world.cells.get());
    EXPECT_TRUE(CellsKeptTheirMark(world));
    EXPECT_EQ(11, world.width);
    EXPECT_EQ(8, world.height);
    EXPECT_EQ(30, e.cellWidth);
    EXPECT_EQ(kWriggleNotStarted, world.cellAt(3, 3).wriggleFrame);
}

TEST(WorldLifecycle, FlippedWriggleResizesToTheClientArea) {
    Settings settings = DefaultSettings();  // Middle
    settings.Tovtov = OnOffRandom::Random;
    EffectiveSettings e{};
    World world;
    const ClientSize window{333, 247};
    {
        ScriptedRandom random(world, {2}, 30000);  // even: wriggle off, 20-pixel cells
        ResolveStartSettings(settings, e, random);
        AllocateFirstWorld(world, settings, e, window);
    }
    ASSERT_EQ(20, e.cellWidth);
    ASSERT_EQ(16, world.width);
    ASSERT_EQ(12, world.height);

    for (const auto& [draw, side, columns, rows] :
         {std::tuple{3, 30, 11, 8}, std::tuple{5, 30, 11, 8}, std::tuple{0, 20, 16, 12}}) {
        MarkCells(world);
        const bool expectResize = side != e.cellWidth;
        ScriptedRandom random(world, {draw}, 30000);
        RenewWorld(world, settings, e, window);
        EXPECT_EQ(side, e.cellWidth) << "draw " << draw;
        EXPECT_EQ(side, e.cellHeight);
        EXPECT_EQ(columns, world.width);
        EXPECT_EQ(rows, world.height);
        EXPECT_EQ(!expectResize, CellsKeptTheirMark(world)) << "draw " << draw;
    }
}

TEST(WorldLifecycle, RulesAreWrittenBeforeTheSeeding) {
    Settings settings = DefaultSettings();
    settings.LifeGame = OnOffRandom::Random;
    settings.Generations = 20;
    EffectiveSettings e{};
    World world;
    const ClientSize window{60, 30};  // 2 x 1 cells of 30
    {
        ScriptedRandom random(world, {1}, 0);  // life rules on
        ResolveStartSettings(settings, e, random);
        AllocateFirstWorld(world, settings, e, window);
    }
    ASSERT_EQ(20, world.countdown);
    // Life rules off this time: every cell alive with no alive draws, and
    // twice the countdown. Draws: the choice, then the world species.
    ScriptedRandom random(world, {8, 2});
    RenewWorld(world, settings, e, window);
    EXPECT_FALSE(world.rules.lifeRules);
    EXPECT_EQ(40, world.countdown);
    EXPECT_TRUE(world.cellAt(1, 1).alive());
    EXPECT_TRUE(world.cellAt(2, 1).alive());
    EXPECT_EQ(3, world.worldSpecies);
    EXPECT_EQ(0u, random.unused());
}

TEST(WorldLifecycle, RandomSpeedIsDrawnAfterTheSeeding) {
    Settings settings = DefaultSettings();
    settings.FixedSpeed = SpeedMode::Random;
    EffectiveSettings e{};
    World world;
    const ClientSize window{60, 30};
    {
        ScriptedRandom random(world, {0}, 0);
        ResolveStartSettings(settings, e, random);
        AllocateFirstWorld(world, settings, e, window);
    }
    ASSERT_EQ(2000, e.tickDelay);
    // World species, two alive draws, then the speed.
    ScriptedRandom random(world, {1, 30000, 30000, 32746});
    RenewWorld(world, settings, e, window);
    EXPECT_EQ(28, e.tickDelay);
    EXPECT_EQ(2, world.worldSpecies);
    EXPECT_TRUE(world.cellAt(1, 1).alive());
    EXPECT_TRUE(world.cellAt(2, 1).alive());
    EXPECT_EQ(0u, random.unused());
}

TEST(WorldLifecycle, FixedSpeedNeverChanges) {
    Settings settings{SpeedMode::Fixed,
                      12,
                      OnOffRandom::Random,
                      CellSize::Random,
                      20,
                      OnOffRandom::Random,
                      OnOffRandom::Random,
                      OnOffRandom::Random,
                      SpeciesMode::Random};
    EffectiveSettings e{};
    World world;
    const ClientSize window{200, 150};
    ScriptedRandom random(world, {}, 0);
    random.push({1, 1, 1, 1, 1, 1});
    ResolveStartSettings(settings, e, random);
    AllocateFirstWorld(world, settings, e, window);
    for (int n = 0; n < 50; ++n) {
        // Vary the choices so that some worlds resize and some reseed.
        random.push({n, n * 7 + 1, n * 3, n, n * 5, n + 2});
        RenewWorld(world, settings, e, window);
        ASSERT_EQ(137, e.tickDelay) << "world " << n;
    }
}

TEST(WorldLifecycle, ClientSmallerThanOneCellGivesAnEmptyGrid) {
    Settings settings = DefaultSettings();
    EffectiveSettings e{};
    World world;
    ScriptedRandom random(world, {}, 0);
    ResolveStartSettings(settings, e, random);
    AllocateFirstWorld(world, settings, e, {29, 400});
    EXPECT_EQ(0, world.width);
    EXPECT_EQ(13, world.height);
}
