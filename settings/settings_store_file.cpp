// LoadSettings and SaveSettings where there is no registry: the same key,
// kept in a per-user file. The Windows build uses the registry instead.
#ifndef _WIN32

#include "settings/settings_file_key.h"
#include "settings/settings_store.h"
#include "settings/settings_transfer.h"

void LoadSettings() {
    SetDefaultSettings();
    const std::string path = SettingsFilePath();
    SettingsFileKey key;
    if (path.empty() || !key.Open(path))
        return;
    userSettings = ReadSettings(key);
}

void SaveSettings() {
    const std::string path = SettingsFilePath();
    if (path.empty())
        return;
    SettingsFileKey key;
    key.Open(path);  // keeps values it does not own; a missing file is created
    WriteSettings(userSettings, key);
    key.Save(path);
}

#endif
