#include "display/world_lifecycle.h"

#include <gtest/gtest.h>

#include "display/frame_target.h"
#include "scripted_random.h"

namespace {

// A window of the given client size to measure new grids from.
struct FakeWindow {
    explicit FakeWindow(int w, int h) : frame(w, h), target(frame, nullptr) {}
    IndexedImage frame;
    FrameTarget target;
};

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
    ResolveStartSettings(settings, e);
    World world;
    {
        ScriptedRandom random({}, 30000);
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
    FakeWindow window(333, 247);
    {
        ScriptedRandom random({4}, 30000);  // 4 mod 3: Middle
        ResolveStartSettings(settings, e);
        AllocateFirstWorld(world, settings, e, window.target.clientSize());
    }
    ASSERT_EQ(CellSize::Middle, e.cellSize);
    ASSERT_EQ(11, world.width);
    MarkCells(world);
    const Cell* array = world.cells.get();

    ScriptedRandom random({7}, 30000);  // 7 mod 3: Middle again
    RenewWorld(world, settings, e, window.target);
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
    FakeWindow window(333, 247);
    {
        ScriptedRandom random({2}, 30000);  // even: wriggle off, 20-pixel cells
        ResolveStartSettings(settings, e);
        AllocateFirstWorld(world, settings, e, window.target.clientSize());
    }
    ASSERT_EQ(20, e.cellWidth);
    ASSERT_EQ(16, world.width);
    ASSERT_EQ(12, world.height);

    for (const auto& [draw, side, columns, rows] :
         {std::tuple{3, 30, 11, 8}, std::tuple{5, 30, 11, 8}, std::tuple{0, 20, 16, 12}}) {
        MarkCells(world);
        const bool expectResize = side != e.cellWidth;
        ScriptedRandom random({draw}, 30000);
        RenewWorld(world, settings, e, window.target);
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
    FakeWindow window(60, 30);  // 2 x 1 cells of 30
    {
        ScriptedRandom random({1}, 0);  // life rules on
        ResolveStartSettings(settings, e);
        AllocateFirstWorld(world, settings, e, window.target.clientSize());
    }
    ASSERT_EQ(20, world.countdown);
    // Life rules off this time: every cell alive with no alive draws, and
    // twice the countdown. Draws: the choice, then the world species.
    ScriptedRandom random({8, 2});
    RenewWorld(world, settings, e, window.target);
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
    FakeWindow window(60, 30);
    {
        ScriptedRandom random({0}, 0);
        ResolveStartSettings(settings, e);
        AllocateFirstWorld(world, settings, e, window.target.clientSize());
    }
    ASSERT_EQ(2000, e.tickDelay);
    // World species, two alive draws, then the speed.
    ScriptedRandom random({1, 30000, 30000, 32746});
    RenewWorld(world, settings, e, window.target);
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
    FakeWindow window(200, 150);
    ScriptedRandom random({}, 0);
    random.push({1, 1, 1, 1, 1, 1});
    ResolveStartSettings(settings, e);
    AllocateFirstWorld(world, settings, e, window.target.clientSize());
    for (int n = 0; n < 50; ++n) {
        // Vary the choices so that some worlds resize and some reseed.
        random.push({n, n * 7 + 1, n * 3, n, n * 5, n + 2});
        RenewWorld(world, settings, e, window.target);
        ASSERT_EQ(137, e.tickDelay) << "world " << n;
    }
}

TEST(WorldLifecycle, ClientSmallerThanOneCellGivesAnEmptyGrid) {
    Settings settings = DefaultSettings();
    EffectiveSettings e{};
    ResolveStartSettings(settings, e);
    World world;
    ScriptedRandom random({}, 0);
    AllocateFirstWorld(world, settings, e, {29, 400});
    EXPECT_EQ(0, world.width);
    EXPECT_EQ(13, world.height);
}
