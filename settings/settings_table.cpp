#include "settings/settings_table.h"

#include <type_traits>

namespace {

template <auto Field>
uint32_t Get(const Settings& settings) {
    return static_cast<uint32_t>(settings.*Field);
}

template <auto Field>
void Set(Settings& settings, uint32_t value) {
    using Type = std::remove_reference_t<decltype(settings.*Field)>;
    settings.*Field = static_cast<Type>(value);
}

constexpr int32_t kNoNumber = -1;

}  // namespace

// clang-format off
constexpr std::array<SettingDescription, kSettingCount> kSettingTable{{
    {SettingId::FixedSpeed, "FixedSpeed", &kSpeedModeCodec, 0, 0,
     static_cast<uint32_t>(SpeedMode::Fixed), "speed", "Speed drawn for each world",
     static_cast<int32_t>(SpeedMode::Fixed), Get<&Settings::FixedSpeed>, Set<&Settings::FixedSpeed>},
    {SettingId::LifeGame, "LifeGame", &kOnOffRandomCodec, 0, 0,
     static_cast<uint32_t>(OnOffRandom::On), "life", "Life rules",
     kNoNumber, Get<&Settings::LifeGame>, Set<&Settings::LifeGame>},
    {SettingId::Tovtov, "Tovtov", &kOnOffRandomCodec, 0, 0,
     static_cast<uint32_t>(OnOffRandom::On), "wriggle", "Wriggle",
     kNoNumber, Get<&Settings::Tovtov>, Set<&Settings::Tovtov>},
    {SettingId::Shrink, "Shrink", &kOnOffRandomCodec, 0, 0,
     static_cast<uint32_t>(OnOffRandom::Off), "shrink", "Grow and shrink",
     kNoNumber, Get<&Settings::Shrink>, Set<&Settings::Shrink>},
    {SettingId::ConnectTBLR, "ConnectTBLR", &kOnOffRandomCodec, 0, 0,
     static_cast<uint32_t>(OnOffRandom::Off), "wrap", "Wrap edges",
     kNoNumber, Get<&Settings::ConnectTBLR>, Set<&Settings::ConnectTBLR>},
    {SettingId::Size, "Size", &kCellSizeCodec, 0, 0,
     static_cast<uint32_t>(CellSize::Middle), "cell-size", "Cell size",
     kNoNumber, Get<&Settings::Size>, Set<&Settings::Size>},
    {SettingId::Colors, "Colors", &kSpeciesModeCodec, 0, 0,
     static_cast<uint32_t>(SpeciesMode::One), "species", "Species",
     kNoNumber, Get<&Settings::Colors>, Set<&Settings::Colors>},
    {SettingId::Speed, "Speed", nullptr, kSlowestSpeed, kFastestSpeed,
     5, "speed", "Speed",
     kNoNumber, Get<&Settings::Speed>, Set<&Settings::Speed>},
    {SettingId::Generations, "Generations", nullptr, 0, UINT32_MAX,
     20, "generations", "Generations",
     kNoNumber, Get<&Settings::Generations>, Set<&Settings::Generations>},
}};
// clang-format on

const SettingDescription& DescriptionOf(SettingId id) {
    for (const SettingDescription& setting : kSettingTable) {
        if (setting.id == id)
            return setting;
    }
    return kSettingTable[0];  // unreachable: every id has a row
}

const SettingDescription* FindSetting(std::string_view name) {
    for (const SettingDescription& setting : kSettingTable) {
        if (name == setting.name)
            return &setting;
    }
    return nullptr;
}
