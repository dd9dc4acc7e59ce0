#include "display/world_lifecycle.h"

GridSize GridFor(ClientSize client, const EffectiveSettings& effective) {
    if (client.width <= 0 || client.height <= 0 || effective.cellWidth <= 0 || effective.cellHeight <= 0) {
        return {0, 0};
    }
    return {client.width / effective.cellWidth, client.height / effective.cellHeight};
}

void AllocateFirstWorld(World& world, const Settings& settings, const EffectiveSettings& effective, ClientSize client) {
    world.rules = RulesFor(settings, effective);
    const GridSize grid = GridFor(client, effective);
    world.allocate(grid.columns, grid.rows);
}

void RenewWorld(World& world, const Settings& settings, EffectiveSettings& effective, ClientSize client,
                bool clientChanged) {
    const bool previousWriggle = effective.wriggle;
    const CellSize previousSize = effective.cellSize;
    RandomSource& random = world.random();

    ResolveChoices(settings, effective, random);
    world.rules = RulesFor(settings, effective);

    if (!clientChanged && effective.wriggle == previousWriggle && effective.cellSize == previousSize) {
        world.seed();
    } else {
        effective.cellWidth = effective.cellHeight = CellSide(effective.cellSize, effective.wriggle);
        const GridSize grid = GridFor(client, effective);
        world.resize(grid.columns, grid.rows);
    }

    if (settings.FixedSpeed != SpeedMode::Fixed) {
        effective.tickDelay = TickDelayForSpeed(DrawRandomSpeed(random));
    }
}
