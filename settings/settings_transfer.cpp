#include "settings/settings_transfer.h"

#include <cstring>

#include "settings/settings_codec.h"

namespace {

template <typename Enum>
void ReadWord(SettingsKeyReader& key, const char* name, const WordCodec& codec, Enum& field) {
    uint8_t data[kWordReadCapacity];
    const std::optional<size_t> received = key.QueryValue(name, data, sizeof data);
    // A backend that claims more than it was given room for is not trusted.
    if (!received || *received > sizeof data)
        return;
    field = static_cast<Enum>(DecodeWord(codec, TextOfValueData(data, *received)));
}

// Shorter data fills only the low bytes, as a query straight into the field
// would; the defaults' high bytes are zero, so it reads as zero-extended.
void ReadDword(SettingsKeyReader& key, const char* name, uint32_t& field) {
    uint8_t data[kDwordReadCapacity];
    EncodeDword(field, data);
    const std::optional<size_t> received = key.QueryValue(name, data, sizeof data);
    if (!received || *received > sizeof data)
        return;
    field = DecodeDword(data);
}

template <typename Enum>
void WriteWord(SettingsKeyWriter& key, const char* name, const WordCodec& codec, Enum value) {
    const char* word = EncodeWord(codec, static_cast<int32_t>(value));
    // A number outside the enumeration has no word; the stored value is left
    // alone rather than written as something the loader would misread.
    if (!word)
        return;
    key.SetValue(name, SettingsValueType::String, reinterpret_cast<const uint8_t*>(word), std::strlen(word) + 1);
}

void WriteDword(SettingsKeyWriter& key, const char* name, uint32_t value) {
    uint8_t data[kDwordReadCapacity];
    EncodeDword(value, data);
    key.SetValue(name, SettingsValueType::Dword, data, sizeof data);
}

}  // namespace

Settings ReadSettings(SettingsKeyReader& key) {
    Settings s = DefaultSettings();
    ReadWord(key, "FixedSpeed", kSpeedModeCodec, s.FixedSpeed);
    ReadWord(key, "LifeGame", kOnOffRandomCodec, s.LifeGame);
    ReadWord(key, "Tovtov", kOnOffRandomCodec, s.Tovtov);
    ReadWord(key, "Shrink", kOnOffRandomCodec, s.Shrink);
    ReadWord(key, "ConnectTBLR", kOnOffRandomCodec, s.ConnectTBLR);
    ReadWord(key, "Size", kCellSizeCodec, s.Size);
    ReadWord(key, "Colors", kSpeciesModeCodec, s.Colors);
    ReadDword(key, "Speed", s.Speed);
    s.Speed = ClampSpeed(s.Speed);
    ReadDword(key, "Generations", s.Generations);
    return s;
}

void WriteSettings(const Settings& s, SettingsKeyWriter& key) {
    WriteWord(key, "FixedSpeed", kSpeedModeCodec, s.FixedSpeed);
    WriteWord(key, "LifeGame", kOnOffRandomCodec, s.LifeGame);
    WriteWord(key, "Tovtov", kOnOffRandomCodec, s.Tovtov);
    WriteWord(key, "Shrink", kOnOffRandomCodec, s.Shrink);
    WriteWord(key, "ConnectTBLR", kOnOffRandomCodec, s.ConnectTBLR);
    WriteWord(key, "Size", kCellSizeCodec, s.Size);
    WriteWord(key, "Colors", kSpeciesModeCodec, s.Colors);
    WriteDword(key, "Speed", s.Speed);
    WriteDword(key, "Generations", s.Generations);
}
