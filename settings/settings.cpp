#include "settings/settings.h"

#include "settings/settings_table.h"

Settings userSettings{};

Settings DefaultSettings() {
    Settings settings{};
    for (const SettingDescription& setting : kSettingTable)
        setting.set(settings, setting.defaultValue);
    return settings;
}

uint32_t ClampSpeed(uint32_t speed) { return speed > kFastestSpeed ? kFastestSpeed : speed; }

void SetDefaultSettings() { userSettings = DefaultSettings(); }
