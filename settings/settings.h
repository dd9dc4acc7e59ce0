// The nine user settings and their value numbers. The numbers are shared by
// the registry encoding, the configuration dialog and the world lifecycle.
#pragma once

#include <cstdint>

enum class SpeedMode : int32_t { Random = 0, Fixed = 1 };
enum class OnOffRandom : int32_t { Off = 0, On = 1, Random = 2 };
enum class CellSize : int32_t { Small = 0, Middle = 1, Big = 2, Random = 3 };
enum class SpeciesMode : int32_t { One = 0, Three = 1, Six = 2, Random = 3 };

// Field names are the registry value names. The dialog copies the record
// whole, so the order and the uniform 32-bit width matter.
struct Settings {
    SpeedMode FixedSpeed;
    uint32_t Speed;  // 0 slowest .. 19 fastest
    OnOffRandom Tovtov;
    CellSize Size;
    uint32_t Generations;
    OnOffRandom ConnectTBLR;
    OnOffRandom LifeGame;
    OnOffRandom Shrink;
    SpeciesMode Colors;
};
static_assert(sizeof(Settings) == 9 * 4, "nine 32-bit fields");

constexpr uint32_t kSlowestSpeed = 0;
constexpr uint32_t kFastestSpeed = 19;

// The process-wide record. All zeros until the first load.
extern Settings userSettings;

// Speed taken unsigned and capped at the fastest, so a stored negative
// number also becomes the fastest.
uint32_t ClampSpeed(uint32_t speed);

Settings DefaultSettings();
void SetDefaultSettings();
