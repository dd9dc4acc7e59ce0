// Moves the nine settings through an open key, in the settings table's
// fixed value order (FixedSpeed, LifeGame, Tovtov, Shrink, ConnectTBLR, Size,
// Colors, Speed, Generations).
#pragma once

#include "settings/settings.h"
#include "settings/settings_key.h"

// Starts from the defaults; every value that is missing or unreadable keeps
// its default, unrecognised text gives the field's fallback.
Settings ReadSettings(SettingsKeyReader& key);

// Writes all nine values; a failed write does not stop the others.
void WriteSettings(const Settings& settings, SettingsKeyWriter& key);
