// The succession of worlds: the first one sized to the window, and each new
// one reseeded in place or rebuilt when its cell size has changed.
#pragma once

#include <cstdint>

#include "display/effective_settings.h"
#include "display/paint_target.h"
#include "settings/settings.h"
#include "world/world.h"

struct GridSize {
    int32_t columns;
    int32_t rows;
};

// Whole cells only: the pixels left at the right and bottom belong to no
// cell and are covered only by the black fills.
GridSize GridFor(ClientSize client, const EffectiveSettings& effective);

// Sizes and seeds the first world, drawing from the world's random source.
// The effective settings must already be resolved (ResolveStartSettings).
void AllocateFirstWorld(World& world, const Settings& settings, const EffectiveSettings& effective, ClientSize client);

// Draws the Random choices again and starts the next world in a client area
// of the given size. The same wriggle and cell size keep the array and only
// reseed it, unless the client area has changed; otherwise the World is
// rebuilt for the new cell size. Every draw comes from the world's random
// source; a Random speed is drawn last, after the seeding's own draws.
void RenewWorld(World& world, const Settings& settings, EffectiveSettings& effective, ClientSize client,
                bool clientChanged = false);
