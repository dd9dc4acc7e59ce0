// The display's side of the World: the painter for each cell, and a new
// world followed by a cleared screen when the current one has ended.
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
    DisplayHooks(World& world, const Settings& settings, EffectiveSettings& effective, PaintTarget& target)
        : world_(world), settings_(settings), effective_(effective), target_(target), painter_(effective, target) {}

    void PaintLiveCell(Cell& cell) override { painter_.PaintLiveCell(cell); }
    void PaintDeadCell(Cell& cell) override { painter_.PaintDeadCell(cell); }
    void NewWorld() override { RenewWorld(world_, settings_, effective_, target_); }
    void ClearScreen() override { painter_.ClearScreen(); }

private:
    World& world_;
    const Settings& settings_;
    EffectiveSettings& effective_;
    PaintTarget& target_;
    CellPainter painter_;
};
