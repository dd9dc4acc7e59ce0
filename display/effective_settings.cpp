#include "display/effective_settings.h"

#include <cmath>

#include "display/sheet_geometry.h"

namespace {

// The square-root law spreads 0..32767 over 19 equal bands of 1724, leaving
// the top 22 draws for speed 19.
constexpr int32_t kSpeedBand = 1724;

// Anything but Off and On (Random, or a value no setting has) is drawn.
bool ResolveSwitch(OnOffRandom setting, bool (*fromDraw)(int32_t), RandomSource& random) {
    switch (setting) {
        case OnOffRandom::Off:
            return false;
        case OnOffRandom::On:
            return true;
        default:
            return fromDraw(random.draw());
    }
}

bool OddDraw(int32_t r) { return (r & 1) != 0; }
bool SevenInEight(int32_t r) { return r % 8 != 0; }

}  // namespace

uint16_t TickDelayForSpeed(uint32_t speed) {
    speed = ClampSpeed(speed);
    // Repeated multiplication rather than pow(): the double nearest 0.8 lies
    // above 0.8, and over these 19 steps the products stay at or above the
    // exact powers, so whole values such as 1024 (speed 3) never come out a
    // hair below and truncate one short, whatever the C library's pow does.
    double delay = 2000.0;
    for (uint32_t s = 0; s < speed; ++s) {
        delay *= 0.8;
    }
    return static_cast<uint16_t>(delay);
}

uint32_t DrawRandomSpeed(RandomSource& random) {
    const double r = random.draw();
    const int32_t n = static_cast<int32_t>(std::sqrt(r * (1.0 / 32767)) * 32767.0);
    return static_cast<uint32_t>(n / kSpeedBand);
}

// Cells are the size of their sprites: the wriggling ones are drawn larger.
int32_t CellSide(CellSize size, bool wriggle) {
    const SpriteGroup& group = SpriteGroupFor(size);
    return wriggle ? group.wriggleSize : group.plainSize;
}

void ResolveChoices(const Settings& settings, EffectiveSettings& effective, RandomSource& random) {
    effective.lifeRules = ResolveSwitch(settings.LifeGame, SevenInEight, random);
    effective.wriggle = ResolveSwitch(settings.Tovtov, OddDraw, random);
    effective.shrink = ResolveSwitch(settings.Shrink, OddDraw, random);

    switch (settings.Size) {
        case CellSize::Small:
        case CellSize::Middle:
        case CellSize::Big:
            effective.cellSize = settings.Size;
            break;
        default:
            effective.cellSize = static_cast<CellSize>(random.draw() % 3);
            break;
    }

    effective.wrapEdges = ResolveSwitch(settings.ConnectTBLR, OddDraw, random);

    switch (settings.Colors) {
        case SpeciesMode::One:
        case SpeciesMode::Three:
        case SpeciesMode::Six:
            effective.speciesMode = settings.Colors;
            break;
        default:
            effective.speciesMode = static_cast<SpeciesMode>(random.draw() % 3);
            break;
    }
}

void ResolveStartSettings(const Settings& settings, EffectiveSettings& effective, RandomSource& random) {
    ResolveChoices(settings, effective, random);
    const uint32_t speed = settings.FixedSpeed == SpeedMode::Fixed ? settings.Speed : DrawRandomSpeed(random);
    effective.tickDelay = TickDelayForSpeed(speed);
    effective.cellWidth = effective.cellHeight = CellSide(effective.cellSize, effective.wriggle);
}

WorldRules RulesFor(const Settings& settings, const EffectiveSettings& effective) {
    WorldRules rules;
    rules.lifeRules = effective.lifeRules;
    rules.wrapEdges = effective.wrapEdges;
    rules.speciesMode = effective.speciesMode;
    rules.generations = settings.Generations;
    return rules;
}
