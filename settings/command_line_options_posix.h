// The seed a native program on POSIX runs with.
#pragma once

#include <cstdint>

#include "settings/command_line_options.h"

// The one given, else one from the system's random source (a nanosecond
// clock where there is none), so that runs started together differ.
uint32_t SeedToUse(const SaverOptions& options);
