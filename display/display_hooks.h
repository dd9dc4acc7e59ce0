// The display's side of the World: the painter for each cell, and a new
// world followed by a cleared screen when the current one has ended. Both
// are measured from the client size the hooks are given, not read back from
// the target.
#pragma once

#include "display/cell_painter.h"
#include "display/effective_settings.h"
#include "display/paint_target.h"
#include "display/world_lifecycle.h"
#include "settings/settings.h"
#include "world/world.h"
#include "world/world_hooks.h"

class DisplayHooks final : public WorldHooks {
public:
    // The painter draws from whatever source the world has at the time, so
    // the world and the painter share one sequence. Without a target, one
    // must be set before the world steps.
    DisplayHooks(World& world, const Settings& settings, EffectiveSettings& effective, ClientSize client)
        : world_(world),
          settings_(settings),
          effective_(effective),
          client_(client),
          worldRandom_(world),
          painter_(effective, worldRandom_) {}
    DisplayHooks(World& world, const Settings& settings, EffectiveSettings& effective, PaintTarget& target,
                 ClientSize client)
        : DisplayHooks(world, settings, effective, client) {
        painter_.setTarget(target);
    }

    void setTarget(PaintTarget& target) { painter_.setTarget(target); }
    void setClient(ClientSize client) { client_ = client; }
    ClientSize client() const { return client_; }

    void PaintLiveCell(Cell& cell) override { painter_.PaintLiveCell(cell); }
    void PaintDeadCell(Cell& cell) override { painter_.PaintDeadCell(cell); }
    void NewWorld() override { RenewWorld(world_, settings_, effective_, client_); }
    void ClearScreen() override { painter_.ClearScreen(client_); }

private:
    class WorldRandom final : public RandomSource {
    public:
        explicit WorldRandom(const World& world) : world_(world) {}
        int32_t draw() override { return world_.random().draw(); }

    private:
        const World& world_;
    };

    World& world_;
    const Settings& settings_;
    EffectiveSettings& effective_;
    ClientSize client_;
    WorldRandom worldRandom_;
    CellPainter painter_;
};
