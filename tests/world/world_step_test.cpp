#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recording_hooks.h"
#include "world/random_source.h"
#include "world_builder.h"

namespace {

// Steps until the hooks see a NewWorld; returns the step number (1-based),
// or 0 if it does not come within `limit` steps.
int StepsUntilNewWorld(World& world, RecordingHooks& hooks, int limit) {
    for (int n = 1; n <= limit; ++n) {
        hooks.calls.clear();
        world.step();
        if (hooks.count('N') > 0) {
            EXPECT_EQ("NC", hooks.endOfStep()) << "NewWorld must be followed by ClearScreen";
            return n;
        }
    }
    return 0;
}

void ExpectCountsAndListsEmpty(const World& world) {
    for (int y = 1; y <= world.height; ++y) {
        for (int x = 1; x <= world.width; ++x) {
            const Cell& c = world.cellAt(x, y);
            ASSERT_EQ(0, c.neighbourCount) << x << "," << y;
            ASSERT_EQ(0, c.neighbourSpeciesCount) << x << "," << y;
            for (uint8_t s : c.neighbourSpecies) {
                ASSERT_EQ(0, s) << x << "," << y;
            }
        }
    }
}

std::string Describe(char kind, int x, int y, uint32_t history) {
    return std::string(1, kind) + ' ' + std::to_string(x) + ',' + std::to_string(y) + ' ' + std::to_string(history);
}

// The paint calls a step must make, from the words before it: every live
// cell and every cell that has just died, in row order, seen before aging.
std::vector<std::string> ExpectedPaints(const World& world) {
    std::vector<std::string> calls;
    for (int y = 1; y <= world.height; ++y) {
        for (int x = 1; x <= world.width; ++x) {
            const uint32_t h = world.cellAt(x, y).history;
            if ((h & 3u) != 0) {
                calls.push_back(Describe((h & 1u) != 0 ? 'L' : 'D', x, y, h));
            }
        }
    }
    return calls;
}

std::vector<std::string> PaintsMade(const RecordingHooks& hooks) {
    std::vector<std::string> calls;
    for (const RecordingHooks::Call& c : hooks.calls) {
        if (c.kind == 'L' || c.kind == 'D') {
            calls.push_back(Describe(c.kind, c.x, c.y, c.history));
        }
    }
    return calls;
}

// A plain Life step on the picture, the edges wrapped or dead.
std::vector<std::string> LifeStep(const std::vector<std::string>& grid, bool wrap) {
    const int rows = static_cast<int>(grid.size());
    const int columns = static_cast<int>(grid[0].size());
    auto alive = [&](int x, int y) {
        if (wrap) {
            return grid[(y + rows) % rows][(x + columns) % columns] == '#';
        }
        return x >= 0 && x < columns && y >= 0 && y < rows && grid[y][x] == '#';
    };
    std::vector<std::string> next = grid;
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns; ++x) {
            int n = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    n += (dx != 0 || dy != 0) && alive(x + dx, y + dy);
                }
            }
            next[y][x] = n == 3 || (n == 2 && alive(x, y)) ? '#' : '.';
        }
    }
    return next;
}

}  // namespace

TEST(WorldStep, PaintsLiveAndJustDiedCellsInRowOrderAndEvolvesAcrossEdges) {
    // Soups seeded at random, and blinkers in an empty torus whose first
    // births cross the top or the bottom edge into a row without history.
    struct Case {
        bool wrap;
        int columns;
        int rows;
        std::vector<std::string> plant;
    };
    const Case cases[] = {
        {false, 16, 12, {}}, {true, 16, 12, {}},      {true, 7, 1, {}},
        {true, 1, 6, {}},    {true, 5, 5, {".###."}}, {true, 5, 5, {"", "", "", "", ".###."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "wrap " << c.wrap << ", " << c.columns << " x " << c.rows);
        CrtRandom random;
        random.seed(7);
        World world(random);
        world.rules.wrapEdges = c.wrap;
        world.rules.generations = 1000;
        RecordingHooks hooks;
        world.setHooks(hooks);
        if (c.plant.empty()) {
            world.allocate(c.columns, c.rows);
        } else {
            PlantWorld(world, c.plant, c.columns, c.rows);
        }
        for (int n = 1; n <= 60; ++n) {
            const std::vector<std::string> expected = ExpectedPaints(world);
            const std::vector<std::string> next = LifeStep(Picture(world), c.wrap);
            hooks.calls.clear();
            world.step();
            ASSERT_EQ(expected, PaintsMade(hooks)) << "step " << n;
            ASSERT_EQ(next, Picture(world)) << "step " << n;
        }
    }
}

TEST(WorldStep, ConwayRulesAndInvariants) {
    World world;
    world.rules.generations = 1000;
    PlantWorld(world, {".....", "..#..", "..#..", "..#..", "....."});
    world.step();
    EXPECT_EQ(Picture(world), (std::vector<std::string>{".....", ".....", ".###.", ".....", "....."}));
    ExpectCountsAndListsEmpty(world);
    world.step();
    EXPECT_EQ(Picture(world), (std::vector<std::string>{".....", "..#..", "..#..", "..#..", "....."}));
    ExpectCountsAndListsEmpty(world);
    // A live cell with three neighbours keeps its species.
    World keep;
    PlantWorld(keep, {"#3", "##"});
    keep.step();
    EXPECT_EQ(3, keep.cellAt(2, 1).species);
}

TEST(WorldStep, GliderTravelsAndKeepsTheCountdownStill) {
    World world;
    world.rules.generations = 0;
    RecordingHooks hooks;
    world.setHooks(hooks);
    std::vector<std::string> picture(30, std::string(30, '.'));
    picture[0] = ".#" + std::string(28, '.');
    picture[1] = "..#" + std::string(27, '.');
    picture[2] = "###" + std::string(27, '.');
    PlantWorld(world, picture);
    for (int n = 1; n <= 80; ++n) {
        world.step();
        ASSERT_TRUE(world.novelty) << "step " << n;
        ASSERT_EQ(0, world.countdown);
    }
    EXPECT_EQ(0, hooks.count('N'));
    // 80 generations move it 20 cells down and right.
    EXPECT_TRUE(world.cellAt(22, 21).alive());
    EXPECT_TRUE(world.cellAt(23, 22).alive());
    EXPECT_TRUE(world.cellAt(21, 23).alive());
    EXPECT_TRUE(world.cellAt(22, 23).alive());
    EXPECT_TRUE(world.cellAt(23, 23).alive());
    EXPECT_EQ(5, Population(world));
}

TEST(WorldStep, StillLifeIsReplacedAfterGenerationsPlusOneCountedSteps) {
    for (uint32_t generations : {0u, 1u, 5u}) {
        World world;
        world.rules.generations = generations;
        RecordingHooks hooks;
        world.setHooks(hooks);
        PlantWorld(world, {"....", ".##.", ".##.", "...."});
        EXPECT_EQ(int(generations) + 1, StepsUntilNewWorld(world, hooks, 50)) << generations;
    }
}

TEST(WorldStep, BlinkerStopsBeingNovelAfterFifteenSteps) {
    // Births in a fresh array are novel for 15 steps; from step 16 on each
    // birth lands where the blinker was 16 generations before.
    World world;
    world.rules.generations = 5;
    RecordingHooks hooks;
    world.setHooks(hooks);
    PlantWorld(world, {".....", "..#..", "..#..", "..#..", "....."});
    for (int n = 1; n <= 15; ++n) {
        world.step();
        ASSERT_TRUE(world.novelty) << n;
        ASSERT_EQ(5, world.countdown);
    }
    hooks.calls.clear();
    EXPECT_EQ(6, StepsUntilNewWorld(world, hooks, 50));  // step 21 = 16 + 5
}

TEST(WorldStep, DeadWorldIsReplacedOneStepAfterItsLastCellsDie) {
    World world;
    world.rules.generations = 100;
    RecordingHooks hooks;
    world.setHooks(hooks);
    PlantWorld(world, {"...", ".#.", "..."});
    world.step();  // the lone cell dies in step 1
    EXPECT_EQ("", hooks.endOfStep());
    EXPECT_EQ(99, world.countdown);
    hooks.calls.clear();
    world.step();  // step 2 erases it, then replaces the world
    ASSERT_EQ(3u, hooks.calls.size());
    EXPECT_EQ('D', hooks.calls[0].kind);
    EXPECT_EQ(2, hooks.calls[0].x);
    EXPECT_EQ(2u, hooks.calls[0].history);  // bit 1 set, bit 0 clear: died in the generation drawn
    EXPECT_EQ("NC", hooks.endOfStep());
    EXPECT_EQ(99, world.countdown);  // untouched by an empty step
}

TEST(WorldStep, WithoutLifeRulesHistoriesAgeAndTheWorldEndsAtStep41) {
    World world;
    world.rules.lifeRules = false;
    world.rules.generations = 20;
    RecordingHooks hooks;
    world.setHooks(hooks);
    {
        ScriptedRandom species(world, {0});
        world.allocate(2, 2);
    }
    uint32_t expected = 1;
    for (int n = 1; n <= 40; ++n) {
        hooks.calls.clear();
        world.step();
        ASSERT_EQ("", hooks.endOfStep()) << n;
        ASSERT_EQ(expected, hooks.calls[0].history) << n;
        expected = (expected << 1) | 1u;
        ASSERT_EQ(4, Population(world));
    }
    ScriptedRandom reseed(world, {0});  // NewWorld is a no-op in the fake; no draws
    hooks.calls.clear();
    world.step();
    EXPECT_EQ("NC", hooks.endOfStep());
    EXPECT_EQ(0xFFFFFFFFu, world.cellAt(1, 1).history);
}

TEST(WorldStep, LifeWorldAfterANoRulesWorldCountsFromZero) {
    World world;
    world.rules.lifeRules = false;
    {
        ScriptedRandom species(world, {0});
        world.allocate(3, 3);
    }
    world.step();
    world.step();
    ExpectCountsAndListsEmpty(world);
    world.rules.lifeRules = true;
    // Species, then a vertical line down the middle column.
    ScriptedRandom script(world, {0, 0, 30000, 0, 0, 30000, 0, 0, 30000, 0});
    world.seed();
    world.step();
    EXPECT_EQ(Picture(world), (std::vector<std::string>{"...", "###", "..."}));
}

TEST(WorldStep, BirthWhereThePreviousWorldLivedIsNotNovel) {
    // A block runs for 20 generations, then the world is reseeded in place
    // with an L-tromino whose birth falls on the block's old corner.
    World reused;
    reused.rules.generations = 1000;
    PlantWorld(reused, {"##..", "##..", "....", "...."});
    for (int i = 0; i < 20; ++i) {
        reused.step();
    }
    {
        ScriptedRandom allDead(reused, {}, 0);
        reused.seed();
    }
    reused.cellAt(1, 1).makeAlive(true);
    reused.cellAt(2, 1).makeAlive(true);
    reused.cellAt(1, 2).makeAlive(true);
    for (auto* c : {&reused.cellAt(1, 1), &reused.cellAt(2, 1), &reused.cellAt(1, 2)}) {
        c->species = 1;
    }
    reused.step();
    EXPECT_TRUE(reused.cellAt(2, 2).alive());
    EXPECT_FALSE(reused.novelty);

    World fresh;
    PlantWorld(fresh, {"##..", "#...", "....", "...."});
    fresh.step();
    EXPECT_TRUE(fresh.cellAt(2, 2).alive());
    EXPECT_TRUE(fresh.novelty);
}

TEST(WorldStep, HugeGenerationsOnlyMeanALongWait) {
    World world;
    world.rules.generations = 0xFFFFFFFFu;
    RecordingHooks hooks;
    world.setHooks(hooks);
    PlantWorld(world, {"##", "##"});
    for (int i = 0; i < 1000; ++i) {
        world.step();
    }
    EXPECT_EQ(0, hooks.count('N'));
    EXPECT_EQ(0xFFFFFFFFLL - 1000, world.countdown);
}

TEST(WorldStep, WorldWithoutCellsAsksForANewWorldEveryStep) {
    World world;
    RecordingHooks hooks;
    world.setHooks(hooks);
    world.step();  // never allocated
    EXPECT_EQ("NC", hooks.endOfStep());
    hooks.calls.clear();
    PlantWorld(world, {}, 0, 3);
    world.step();
    EXPECT_EQ("NC", hooks.endOfStep());
}

TEST(WorldStep, NewWorldDuringAStepReseeds) {
    World world;
    world.rules.generations = 0;
    RecordingHooks hooks;
    world.setHooks(hooks);
    PlantWorld(world, {"##.", "##.", "..."});
    ScriptedRandom script(world, {}, 32767);  // the new world is all alive
    hooks.onNewWorld = [&] { world.seed(); };
    world.step();
    EXPECT_EQ("NC", hooks.endOfStep());
    EXPECT_EQ(9, Population(world));
    EXPECT_EQ(0, world.countdown);
}
