// Moves the process-wide Settings between memory and the per-user store
// (the registry key "Software\Pelmar\Quorbel\Settings" on Windows).
#pragma once

#include "settings/settings.h"

// Defaults first, then whatever the store holds. Silent on every failure.
void LoadSettings();
// Writes all nine values, creating the key if needed. Silent on failure.
void SaveSettings();
