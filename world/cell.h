// One record of the World's array: a grid cell, or one of the border records
// around the grid.
#pragma once

#include <cstdint>

constexpr uint8_t kWriggleNotStarted = 255;
constexpr int kMaxNeighbours = 8;

struct Cell {
    // Bit k set: alive k generations ago (bit 0 is the current generation).
    // The only record of whether the cell is alive.
    uint32_t history = 0;
    int32_t x = 0;  // 1..width, set by seeding
    int32_t y = 0;  // 1..height
    // Additions received in the current step. Border records keep counting
    // and wrap at 256; nothing reads them.
    uint8_t neighbourCount = 0;
    int8_t shrinkPhase = 0;                     // 0..11, owned by the painter
    uint8_t wriggleFrame = kWriggleNotStarted;  // 0..7, owned by the painter
    uint8_t species = 0;                        // 0 dead, 1..6 alive
    uint8_t neighbourSpecies[kMaxNeighbours] = {};
    int32_t neighbourSpeciesCount = 0;

    bool alive() const { return (history & 1u) != 0; }

    void makeAlive(bool fresh) { history = fresh ? 1u : (history | 1u); }

    void kill() {
        species = 0;
        history &= ~1u;
    }

    // One live neighbour's contribution. A grid cell gets at most eight per
    // step; a border record's list stops at eight while its count wraps.
    void receive(uint8_t neighbour) {
        if (neighbourSpeciesCount < kMaxNeighbours) {
            neighbourSpecies[neighbourSpeciesCount++] = neighbour;
        }
        ++neighbourCount;
    }

    // The same for a grid cell, which can never receive more than eight.
    void receiveInGrid(uint8_t neighbour) {
        neighbourSpecies[neighbourSpeciesCount++] = neighbour;
        ++neighbourCount;
    }

    // Ages the word by one generation; the current state carries over.
    void shiftHistory() { history = (history << 1) | (history & 1u); }
};
