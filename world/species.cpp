#include "world/species.h"

#include "world/cell.h"

namespace {

constexpr uint8_t kTraits[3] = {1, 2, 4};

bool HasOneTrait(uint8_t mask) { return mask == 1 || mask == 2 || mask == 4; }

// The trait in place `index` among those the mask carries, in order 1, 2, 4.
uint8_t NthTrait(uint8_t mask, int index) {
    for (uint8_t trait : kTraits) {
        if ((mask & trait) != 0 && index-- == 0) {
            return trait;
        }
    }
    return 0;
}

}  // namespace

uint8_t DrawWorldSpecies(RandomSource& random) { return static_cast<uint8_t>(random.draw() % 3 + 1); }

uint8_t InitialSpecies(SpeciesMode mode, uint8_t worldSpecies, RandomSource& random) {
    switch (mode) {
        case SpeciesMode::Three:
            return kTraits[random.draw() % 3];
        case SpeciesMode::Six:
            return static_cast<uint8_t>(random.draw() % 6 + 1);
        default:
            return worldSpecies;
    }
}

uint8_t inheritSpecies(const Cell& cell, SpeciesMode mode, RandomSource& random) {
    uint8_t combination = 0;
    for (uint8_t parent : cell.neighbourSpecies) {
        if (parent == 0) {
            break;
        }
        if (HasOneTrait(parent)) {
            combination |= parent;
        } else {
            combination |= NthTrait(parent, random.draw() & 1);
        }
    }

    if (combination == 7) {
        const uint8_t trait = kTraits[random.draw() % 3];
        return mode == SpeciesMode::Three ? trait : static_cast<uint8_t>(7 - trait);
    }
    if (mode == SpeciesMode::Three && combination != 0 && !HasOneTrait(combination)) {
        return NthTrait(combination, random.draw() & 1);
    }
    // A birth always has three parents, so an empty combination cannot come
    // from a step; give it a real species rather than a dead cell's 0.
    return combination == 0 ? 1 : combination;
}
