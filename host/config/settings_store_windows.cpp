// LoadSettings and SaveSettings on the per-user registry key.
#include <windows.h>

#include "settings/settings_store.h"
#include "settings/settings_transfer.h"

namespace {

class RegistryKeyReader : public SettingsKeyReader {
public:
    explicit RegistryKeyReader(HKEY key) : key_(key) {}

    std::optional<size_t> QueryValue(const char* name, uint8_t* buffer, size_t capacity) override {
        // Queried into a scratch buffer so a failed query, which may have
        // written part of the data, never reaches the caller's bytes.
        BYTE scratch[16];
        if (capacity > sizeof scratch)
            return std::nullopt;
        DWORD type = 0;
        DWORD received = static_cast<DWORD>(capacity);
        if (RegQueryValueExA(key_, name, nullptr, &type, scratch, &received) != ERROR_SUCCESS)
            return std::nullopt;
        if (received > capacity)
            return std::nullopt;
        CopyMemory(buffer, scratch, received);
        return received;
    }

private:
    HKEY key_;
};

class RegistryKeyWriter : public SettingsKeyWriter {
public:
    explicit RegistryKeyWriter(HKEY key) : key_(key) {}

    void SetValue(const char* name, SettingsValueType type, const uint8_t* data, size_t length) override {
        const DWORD registryType = type == SettingsValueType::Dword ? REG_DWORD : REG_SZ;
        RegSetValueExA(key_, name, 0, registryType, data, static_cast<DWORD>(length));
    }

private:
    HKEY key_;
};

}  // namespace

void LoadSettings() {
    SetDefaultSettings();
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    RegistryKeyReader reader(key);
    userSettings = ReadSettings(reader);
    RegCloseKey(key);
}

void SaveSettings() {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, &disposition) != ERROR_SUCCESS) {
        return;
    }
    RegistryKeyWriter writer(key);
    WriteSettings(userSettings, writer);
    RegCloseKey(key);
}
