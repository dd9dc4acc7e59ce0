// <sys/random.h> uses size_t without defining it on some C libraries.
#include <cstddef>
// clang-format off
#include <sys/random.h>
// clang-format on
#include <unistd.h>

#include <ctime>

#include "settings/command_line_options_posix.h"

uint32_t SeedToUse(const SaverOptions& options) {
    if (options.seed)
        return *options.seed;
    uint32_t seed = 0;
    if (getrandom(&seed, sizeof seed, GRND_NONBLOCK) == static_cast<ssize_t>(sizeof seed))
        return seed;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<uint32_t>(now.tv_sec) * 1000000007u ^ static_cast<uint32_t>(now.tv_nsec) ^
           static_cast<uint32_t>(getpid()) << 16;
}
