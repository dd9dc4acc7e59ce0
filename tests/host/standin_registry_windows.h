// The registry key through which the tests script and read the stand-ins.
#pragma once

#include <windows.h>

#include <cstring>

inline constexpr char kStandInKey[] = "Software\\Pelmar\\QuorbelTests\\PasswordStandIn";

inline HKEY OpenStandInKey() {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kStandInKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return nullptr;
    }
    return key;
}

inline DWORD ReadStandInDword(const char* name, DWORD fallback) {
    HKEY key = OpenStandInKey();
    if (!key)
        return fallback;
    DWORD value = 0;
    DWORD size = sizeof(value);
    DWORD type = 0;
    LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && type == REG_DWORD ? value : fallback;
}

inline void WriteStandInDword(const char* name, DWORD value) {
    HKEY key = OpenStandInKey();
    if (!key)
        return;
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    RegCloseKey(key);
}

inline void ReadStandInString(const char* name, char* buffer, DWORD size) {
    buffer[0] = '\0';
    HKEY key = OpenStandInKey();
    if (!key)
        return;
    DWORD type = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
        buffer[0] = '\0';
    }
    RegCloseKey(key);
}

inline void WriteStandInString(const char* name, const char* value) {
    HKEY key = OpenStandInKey();
    if (!key)
        return;
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   static_cast<DWORD>(std::strlen(value) + 1));
    RegCloseKey(key);
}
