// A settings key kept as a small text file, for systems without the
// registry. It keeps the registry's value names, types and bytes, and its
// failure semantics: a missing file is a missing key, a missing value or one
// longer than the query's capacity is a failed query.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "settings/settings_key.h"

class SettingsFileKey : public SettingsKeyReader, public SettingsKeyWriter {
public:
    // Reads the file. False when it cannot be read, which is a missing key.
    // Lines that do not parse are skipped, as unreadable values.
    bool Open(const std::string& path);
    // The same from text already at hand: replaces every value.
    void Parse(std::istream& text);

    std::optional<size_t> QueryValue(const char* name, uint8_t* buffer, size_t capacity) override;
    void SetValue(const char* name, SettingsValueType type, const uint8_t* data, size_t length) override;

    // Writes every value, creating the folders first. The file is replaced
    // whole, so a failure leaves the previous file as it was.
    bool Save(const std::string& path) const;
    // The file's text: one line per value, in the order first written.
    void Write(std::ostream& text) const;

private:
    struct Value {
        std::string name;
        SettingsValueType type;
        std::vector<uint8_t> data;
    };
    Value* Find(const std::string& name);

    std::vector<Value> values_;  // in the order first written
};

// The per-user file for the settings key: the key path below
// $XDG_CONFIG_HOME, or below $HOME/.config. Empty when neither is set.
std::string SettingsFilePath();
