// The per-user settings key as the load and save logic see it: named values
// holding raw bytes and a type. The registry is one implementation; tests
// supply their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

// The key path and value names the settings are kept under.
constexpr const char kSettingsKeyPath[] = "Software\\Pelmar\\Quorbel\\Settings";

enum class SettingsValueType { String, Dword };

class SettingsKeyReader {
public:
    virtual ~SettingsKeyReader() = default;
    // Copies the value's data into buffer and returns its length, or nothing
    // when the value is absent, its data is longer than capacity, or it
    // cannot be read. The stored type is not reported: callers ignore it.
    virtual std::optional<size_t> QueryValue(const char* name, uint8_t* buffer, size_t capacity) = 0;
};

class SettingsKeyWriter {
public:
    virtual ~SettingsKeyWriter() = default;
    // Whether a single write succeeded is deliberately not reported.
    virtual void SetValue(const char* name, SettingsValueType type, const uint8_t* data, size_t length) = 0;
};
