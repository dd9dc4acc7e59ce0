#include "world/random_source.h"

#include <ctime>

uint32_t ClockSeed() { return static_cast<uint32_t>(std::time(nullptr)); }
