#include "display/effective_settings.h"

#include <gtest/gtest.h>

#include "display/world_lifecycle.h"
#include "scripted_random.h"

namespace {

Settings AllRandom() {
    return Settings{SpeedMode::Random,
                    5,
                    OnOffRandom::Random,
                    CellSize::Random,
                    20,
                    OnOffRandom::Random,
                    OnOffRandom::Random,
                    OnOffRandom::Random,
                    SpeciesMode::Random};
}

constexpr uint16_t kDelays[20] = {2000, 1600, 1280, 1024, 819, 655, 524, 419, 335, 268,
                                  214,  171,  137,  109,  87,  70,  56,  45,  36,  28};

}  // namespace

TEST(EffectiveSettings, DefaultsResolveWithoutDrawing) {
    ScriptedRandom noDraws;  // any draw fails the test
    EffectiveSettings e{};
    ResolveStartSettings(DefaultSettings(), e, noDraws);
    EXPECT_TRUE(e.lifeRules);
    EXPECT_TRUE(e.wriggle);
    EXPECT_FALSE(e.shrink);
    EXPECT_EQ(CellSize::Middle, e.cellSize);
    EXPECT_EQ(30, e.cellWidth);
    EXPECT_EQ(30, e.cellHeight);
    EXPECT_FALSE(e.wrapEdges);
    EXPECT_EQ(SpeciesMode::One, e.speciesMode);
    EXPECT_EQ(655, e.tickDelay);
    const GridSize grid = GridFor({1024, 768}, e);
    EXPECT_EQ(34, grid.columns);
    EXPECT_EQ(25, grid.rows);
    EXPECT_EQ(0u, noDraws.draws());
}

TEST(EffectiveSettings, TickDelayForEverySpeed) {
    for (uint32_t s = 0; s < 20; ++s) {
        EXPECT_EQ(kDelays[s], TickDelayForSpeed(s)) << "speed " << s;
    }
    // A speed past the fastest never gives a shorter (or zero) delay.
    EXPECT_EQ(28, TickDelayForSpeed(20));
    EXPECT_EQ(28, TickDelayForSpeed(0xFFFFFFFFu));
}

TEST(EffectiveSettings, RandomSpeedFavoursTheFastEnd) {
    constexpr int32_t kSmallestDraw[20] = {0,    91,    363,   817,   1452,  2268,  3266,  4445,  5806,  7348,
                                           9071, 10976, 13062, 15330, 17779, 20409, 23221, 26215, 29389, 32746};
    ScriptedRandom random;
    for (uint32_t s = 0; s < 20; ++s) {
        random.push({kSmallestDraw[s]});
        EXPECT_EQ(s, DrawRandomSpeed(random)) << "draw " << kSmallestDraw[s];
        if (s > 0) {
            random.push({kSmallestDraw[s] - 1});
            EXPECT_EQ(s - 1, DrawRandomSpeed(random)) << "draw " << kSmallestDraw[s] - 1;
        }
    }
    random.push({32767});
    EXPECT_EQ(19u, DrawRandomSpeed(random));

    Settings settings = DefaultSettings();
    settings.FixedSpeed = SpeedMode::Random;
    EffectiveSettings e{};
    const std::pair<int32_t, uint16_t> cases[] = {{0, 2000}, {32745, 36}, {32746, 28}};
    for (const auto& [draw, delay] : cases) {
        random.push({draw});
        ResolveStartSettings(settings, e, random);
        EXPECT_EQ(delay, e.tickDelay) << "draw " << draw;
    }
    EXPECT_EQ(0u, random.unused());
}

TEST(EffectiveSettings, RandomChoicesDrawInFixedOrder) {
    // life, wriggle, shrink, size, wrap, species, then speed.
    {
        ScriptedRandom random({8, 3, 2, 5, 7, 4, 32746});
        EffectiveSettings e{};
        ResolveStartSettings(AllRandom(), e, random);
        EXPECT_FALSE(e.lifeRules);  // 8 mod 8 = 0: the one case in eight that is off
        EXPECT_TRUE(e.wriggle);
        EXPECT_FALSE(e.shrink);
        EXPECT_EQ(CellSize::Big, e.cellSize);
        EXPECT_TRUE(e.wrapEdges);
        EXPECT_EQ(SpeciesMode::Three, e.speciesMode);
        EXPECT_EQ(28, e.tickDelay);
        EXPECT_EQ(60, e.cellWidth);
        EXPECT_EQ(7u, random.draws());
    }
    {
        ScriptedRandom random({9, 2, 1, 3, 6, 5, 0});
        EffectiveSettings e{};
        ResolveStartSettings(AllRandom(), e, random);
        EXPECT_TRUE(e.lifeRules);
        EXPECT_FALSE(e.wriggle);
        EXPECT_TRUE(e.shrink);
        EXPECT_EQ(CellSize::Small, e.cellSize);
        EXPECT_FALSE(e.wrapEdges);
        EXPECT_EQ(SpeciesMode::Six, e.speciesMode);
        EXPECT_EQ(2000, e.tickDelay);
        EXPECT_EQ(10, e.cellHeight);
        EXPECT_EQ(7u, random.draws());
    }
    {
        // Only the Random settings draw: here the life rules, then the species.
        Settings settings = DefaultSettings();
        settings.LifeGame = OnOffRandom::Random;
        settings.Colors = SpeciesMode::Random;
        ScriptedRandom random({16, 2});
        EffectiveSettings e{};
        ResolveStartSettings(settings, e, random);
        EXPECT_FALSE(e.lifeRules);
        EXPECT_EQ(SpeciesMode::Six, e.speciesMode);
        EXPECT_TRUE(e.wriggle);
        EXPECT_EQ(2u, random.draws());
    }
}

TEST(EffectiveSettings, CellSidesAndGrids) {
    EXPECT_EQ(10, CellSide(CellSize::Small, false));
    EXPECT_EQ(15, CellSide(CellSize::Small, true));
    EXPECT_EQ(20, CellSide(CellSize::Middle, false));
    EXPECT_EQ(30, CellSide(CellSize::Middle, true));
    EXPECT_EQ(40, CellSide(CellSize::Big, false));
    EXPECT_EQ(60, CellSide(CellSize::Big, true));

    Settings settings = DefaultSettings();
    settings.Tovtov = OnOffRandom::Off;
    settings.Size = CellSize::Big;
    EffectiveSettings e{};
    ScriptedRandom noDraws;
    ResolveStartSettings(settings, e, noDraws);
    const GridSize big = GridFor({640, 480}, e);
    EXPECT_EQ(16, big.columns);
    EXPECT_EQ(12, big.rows);
    // Narrower or lower than one cell: an empty grid.
    const GridSize tiny = GridFor({39, 480}, e);
    EXPECT_EQ(0, tiny.columns);
    EXPECT_EQ(12, tiny.rows);
}

TEST(EffectiveSettings, RulesForTheWorld) {
    Settings settings = DefaultSettings();
    settings.Generations = 77;
    EffectiveSettings e{};
    e.lifeRules = false;
    e.wrapEdges = true;
    e.speciesMode = SpeciesMode::Six;
    const WorldRules rules = RulesFor(settings, e);
    EXPECT_FALSE(rules.lifeRules);
    EXPECT_TRUE(rules.wrapEdges);
    EXPECT_EQ(SpeciesMode::Six, rules.speciesMode);
    EXPECT_EQ(77u, rules.generations);
}
