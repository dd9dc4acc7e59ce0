// Species: a 3-bit trait mask (1 blue, 2 green, 4 red). A live cell has
// 1..6; all three traits together (7) never occur.
#pragma once

#include <cstdint>

#include "settings/settings.h"
#include "world/random_source.h"

struct Cell;

// The one species of a world in mode One: 1, 2 or 3. One draw.
uint8_t DrawWorldSpecies(RandomSource& random);

// The species of a cell seeded alive. One draw in modes Three and Six,
// none in mode One.
uint8_t InitialSpecies(SpeciesMode mode, uint8_t worldSpecies, RandomSource& random);

// The species of a newborn in modes Three and Six, from the parents listed
// in its neighbourSpecies. Draws: one per two-trait parent in list order,
// then at most one for the final reduction.
uint8_t inheritSpecies(const Cell& cell, SpeciesMode mode, RandomSource& random);
