#include "world/random_source.h"

#include <ctime>

namespace {
CrtRandom processGenerator;
RandomSource* current = &processGenerator;
}  // namespace

void SeedRandom(uint32_t seed) { processGenerator.seed(seed); }

void SeedRandomWithTime() { SeedRandom(static_cast<uint32_t>(std::time(nullptr))); }

int32_t DrawRandom() { return current->draw(); }

RandomSource* SetRandomSource(RandomSource* source) {
    RandomSource* previous = current;
    current = source ? source : &processGenerator;
    return previous;
}
