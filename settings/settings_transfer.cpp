#include "settings/settings_transfer.h"

#include <cstring>

#include "settings/settings_codec.h"
#include "settings/settings_table.h"

namespace {

void ReadWord(SettingsKeyReader& key, const SettingDescription& setting, Settings& settings) {
    uint8_t data[kWordReadCapacity];
    const std::optional<size_t> received = key.QueryValue(setting.name, data, sizeof data);
    // A backend that claims more than it was given room for is not trusted.
    if (!received || *received > sizeof data)
        return;
    setting.set(settings, static_cast<uint32_t>(DecodeWord(*setting.codec, TextOfValueData(data, *received))));
}

// Shorter data fills only the low bytes, as a query straight into the field
// would; the defaults' high bytes are zero, so it reads as zero-extended.
// Read or not, the value is then held to the setting's range (a stored
// negative Speed becomes the fastest).
void ReadDword(SettingsKeyReader& key, const SettingDescription& setting, Settings& settings) {
    uint8_t data[kDwordReadCapacity];
    EncodeDword(setting.get(settings), data);
    const std::optional<size_t> received = key.QueryValue(setting.name, data, sizeof data);
    if (received && *received <= sizeof data)
        setting.set(settings, DecodeDword(data));
    if (setting.get(settings) > setting.highest)
        setting.set(settings, setting.highest);
}

void WriteWord(SettingsKeyWriter& key, const SettingDescription& setting, const Settings& settings) {
    const char* word = EncodeWord(*setting.codec, static_cast<int32_t>(setting.get(settings)));
    // A number outside the enumeration has no word; the stored value is left
    // alone rather than written as something the loader would misread.
    if (!word)
        return;
    key.SetValue(setting.name, SettingsValueType::String, reinterpret_cast<const uint8_t*>(word),
                 std::strlen(word) + 1);
}

void WriteDword(SettingsKeyWriter& key, const SettingDescription& setting, const Settings& settings) {
    uint8_t data[kDwordReadCapacity];
    EncodeDword(setting.get(settings), data);
    key.SetValue(setting.name, SettingsValueType::Dword, data, sizeof data);
}

}  // namespace

Settings ReadSettings(SettingsKeyReader& key) {
    Settings settings = DefaultSettings();
    for (const SettingDescription& setting : kSettingTable) {
        if (setting.codec)
            ReadWord(key, setting, settings);
        else
            ReadDword(key, setting, settings);
    }
    return settings;
}

void WriteSettings(const Settings& settings, SettingsKeyWriter& key) {
    for (const SettingDescription& setting : kSettingTable) {
        if (setting.codec)
            WriteWord(key, setting, settings);
        else
            WriteDword(key, setting, settings);
    }
}
