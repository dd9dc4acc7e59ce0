#include "stored_settings.h"

namespace {

const char kKeyPath[] = "Software\\Pelmar\\Quorbel\\Settings";

HKEY OpenKey() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

HKEY CreateKey() {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return key;
}

}  // namespace

void DeleteStoredSettings() { RegDeleteKeyA(HKEY_CURRENT_USER, kKeyPath); }

bool StoredSettingsExist() {
    HKEY key = OpenKey();
    if (key)
        RegCloseKey(key);
    return key != nullptr;
}

std::optional<std::string> StoredWord(const char* name) {
    HKEY key = OpenKey();
    if (!key)
        return std::nullopt;
    char buffer[64] = {};
    DWORD size = sizeof buffer - 1;
    DWORD type = 0;
    const LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ)
        return std::nullopt;
    return std::string(buffer);
}

std::optional<uint32_t> StoredNumber(const char* name) {
    HKEY key = OpenKey();
    if (!key)
        return std::nullopt;
    DWORD value = 0;
    DWORD size = sizeof value;
    DWORD type = 0;
    const LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_DWORD)
        return std::nullopt;
    return value;
}

void StoreWord(const char* name, const std::string& word) {
    HKEY key = CreateKey();
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(word.c_str()),
                   static_cast<DWORD>(word.size() + 1));
    RegCloseKey(key);
}

void StoreNumber(const char* name, uint32_t value) {
    HKEY key = CreateKey();
    const DWORD data = value;
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
    RegCloseKey(key);
}
