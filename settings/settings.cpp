#include "settings/settings.h"

Settings userSettings{};

Settings DefaultSettings() {
    return Settings{
        SpeedMode::Fixed, 5, OnOffRandom::On, CellSize::Middle, 20, OnOffRandom::Off, OnOffRandom::On, OnOffRandom::Off,
        SpeciesMode::One};
}

uint32_t ClampSpeed(uint32_t speed) { return speed > kFastestSpeed ? kFastestSpeed : speed; }

void SetDefaultSettings() { userSettings = DefaultSettings(); }
