// The nine settings described once: how each is stored (value name, words or
// DWORD, range, default) and how people name it (command-line option, English
// label). The store, the dialog logic and every native front end's options
// read this table rather than repeating what it says.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "settings/settings.h"
#include "settings/settings_codec.h"

// The fields of Settings, in the record's order.
enum class SettingId { FixedSpeed, Speed, Tovtov, Size, Generations, ConnectTBLR, LifeGame, Shrink, Colors };

constexpr size_t kSettingCount = 9;

struct SettingDescription {
    SettingId id;
    const char* name;        // the registry value name, which is also the field's name
    const WordCodec* codec;  // the words of a string-coded setting; nullptr for a DWORD
    uint32_t lowest;         // a DWORD's range; a loaded value above highest is taken as highest
    uint32_t highest;
    uint32_t defaultValue;  // a value number for string-coded settings
    const char* option;     // command-line option, without dashes; two settings may share one
    const char* label;      // English, as the Windows dialog names it: usage texts, settings programs, the page
    // The value a string-coded setting takes when its option is given a
    // number (FixedSpeed: Fixed when --speed names a speed); -1 for none.
    // The word for that value is then not an option word: the number says it.
    int32_t valueForNumber;
    uint32_t (*get)(const Settings&);
    void (*set)(Settings&, uint32_t);
};

// In the order the store reads and writes them: FixedSpeed, LifeGame,
// Tovtov, Shrink, ConnectTBLR, Size, Colors, Speed, Generations.
extern const std::array<SettingDescription, kSettingCount> kSettingTable;

const SettingDescription& DescriptionOf(SettingId id);

// The setting whose registry value has this name (exact case), or nullptr.
const SettingDescription* FindSetting(std::string_view name);
