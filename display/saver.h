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
    // world to the client area. Paints nothing. Same as prepare() and then
    // startWorld().
    void start(const Settings& settings, ClientSize client, std::optional<uint32_t> seed = std::nullopt);

    // The two halves of start(), for a front end with work of its own in
    // between (the Windows saver builds its sheet graphics there).
    void prepare(const Settings& settings, std::optional<uint32_t> seed = std::nullopt);
    void startWorld(ClientSize client);

    // One generation, painted into target (the end of a world included: its
    // renewal and the cleared screen). Does nothing when not running.
    void tick(PaintTarget& target);

    // Milliseconds to wait before the next tick. A new world may change it.
    uint16_t tickDelay() const { return effective_.tickDelay; }

    // The next tick begins with a new world sized to this client area, as
    // when a renewal draws a new cell size, clears the screen and then steps
    // the new world.
    void resize(ClientSize client);

    // Frees the world. start() may be called again.
    void end();

    bool running() const { return running_; }
    uint32_t seed() const { return seed_; }                    // the seed start() used
    uint32_t randomState() const { return random_.state(); }   // the random source's state now
    size_t population() const { return world_.population(); }  // live cells after the last tick
    ClientSize client() const { return hooks_.client(); }
    const Settings& settings() const { return settings_; }
    const EffectiveSettings& effective() const { return effective_; }
    const World& world() const { return world_; }

private:
    Settings settings_{};
    EffectiveSettings effective_{};
    CrtRandom random_;
    World world_;
    DisplayHooks hooks_;
    uint32_t seed_ = 0;
    bool running_ = false;
    bool resizePending_ = false;
};
