// One running saver: the settings it started from, the settings in force for
// the current world, the World with its painter, and the random source all of
// them draw from. Every front end (the Windows window, the X11 hack, the
// headless renderer) drives one of these; nothing here knows where the
// pixels go beyond the PaintTarget handed to tick().
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "display/display_hooks.h"
#include "display/effective_settings.h"
#include "display/paint_target.h"
#include "settings/settings.h"
#include "world/random_source.h"
#include "world/world.h"

class Saver {
public:
    Saver();
    Saver(const Saver&) = delete;
    Saver& operator=(const Saver&) = delete;

    // Seeds the random source (with the clock's seconds when no seed is
    // given), resolves the effective settings, and sizes and seeds the first
    // world to the client area. Paints nothing.
    void start(const Settings& settings, ClientSize client, std::optional<uint32_t> seed = std::nullopt);

    // One generation, painted into target (the end of a world included: its
    // renewal and the cleared screen).
    void tick(PaintTarget& target);

    // Milliseconds to wait before the next tick. A new world may change it.
    uint16_t tickDelay() const;

    // The next tick begins with a new world sized to this client area, as
    // when a renewal draws a new cell size, and then steps it.
    void resize(ClientSize client);

    // Frees the world. start() may be called again.
    void end();

    bool running() const;
    uint32_t seed() const;         // the seed start() used
    uint32_t randomState() const;  // the random source's state now
    size_t population() const;     // live cells after the last tick
    const Settings& settings() const;
    const EffectiveSettings& effective() const;
    const World& world() const;

    // ... private members are the implementation's choice.
};
