// The settings in force for the current world: the user's Settings with
// every Random choice drawn, plus the cell size and tick delay they imply.
#pragma once

#include <cstdint>

#include "settings/settings.h"
#include "world/random_source.h"
#include "world/world.h"

struct EffectiveSettings {
    bool lifeRules;
    bool wriggle;
    bool shrink;
    CellSize cellSize;  // Small, Middle or Big
    bool wrapEdges;
    SpeciesMode speciesMode;  // One, Three or Six
    int32_t cellWidth;        // pixels; cells are square
    int32_t cellHeight;
    uint16_t tickDelay;  // milliseconds between ticks
};

// 2000 x 0.8^speed milliseconds, truncated; speeds past 19 count as 19.
uint16_t TickDelayForSpeed(uint32_t speed);

// One draw, mapped through a square root so that fast speeds come up more
// often than slow ones. Gives 0..19.
uint32_t DrawRandomSpeed(RandomSource& random);

// Side of a square cell: wriggle sprites need larger cells.
int32_t CellSide(CellSize size, bool wriggle);

// Draws the six choices in their fixed order (life rules, wriggle, shrink,
// cell size, edge wrap, species mode), one draw for each Random setting.
// Fixed settings are copied and take no draw.
void ResolveChoices(const Settings& settings, EffectiveSettings& effective, RandomSource& random);

// Everything a first world needs: the six choices, then the speed (one more
// draw when it is Random), then the cell size.
void ResolveStartSettings(const Settings& settings, EffectiveSettings& effective, RandomSource& random);

// What the World reads while it seeds and steps.
WorldRules RulesFor(const Settings& settings, const EffectiveSettings& effective);
