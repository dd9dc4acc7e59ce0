// The nine settings read from a key whose values have any bytes, type and
// length, some of them from a backend that claims more than it was given
// room for. After the load every field lies inside its enumeration (Speed
// inside 0..19); a value that is missing, too long or claimed too long leaves
// the default; a value spelling a written word in any letter case gives that
// word's number; and what is loaded is saved and loaded again unchanged.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "fake_settings_key.h"
#include "fuzz_check.h"
#include "settings/settings_codec.h"
#include "settings/settings_transfer.h"
#include "settings_ranges.h"

namespace {

// Fixed to the nine names and a stranger, which nothing asks for.
const char* const kNames[] = {"FixedSpeed", "LifeGame", "Tovtov",      "Shrink", "ConnectTBLR",
                              "Size",       "Colors",   "Generations", "Speed",  "Unknown"};

struct PlantedValue {
    std::vector<uint8_t> bytes;
    bool lies = false;  // claims a length beyond the query's capacity
};

class PlantedKey final : public SettingsKeyReader {
public:
    std::optional<size_t> QueryValue(const char* name, uint8_t* buffer, size_t capacity) override {
        const auto found = values.find(name);
        if (found == values.end() || found->second.bytes.size() > capacity)
            return std::nullopt;
        std::copy(found->second.bytes.begin(), found->second.bytes.end(), buffer);
        return found->second.lies ? capacity + 1 : found->second.bytes.size();
    }
    std::map<std::string, PlantedValue> values;
};

// The field's value if the planted value is read at all, else the default.
template <typename Enum>
void CheckWordField(const PlantedKey& key, const char* name, const WordCodec& codec, Enum loaded, Enum fallback) {
    const int32_t number = static_cast<int32_t>(loaded);
    const auto found = key.values.find(name);
    if (found == key.values.end() || found->second.lies || found->second.bytes.size() > kWordReadCapacity) {
        FUZZ_CHECK(loaded == fallback);
        return;
    }
    const std::string_view text = TextOfValueData(found->second.bytes.data(), found->second.bytes.size());
    for (size_t value = 0; value < codec.wordCount; ++value) {
        if (EqualsFoldingAsciiLetters(text, EncodeWord(codec, static_cast<int32_t>(value))))
            FUZZ_CHECK(number == static_cast<int32_t>(value));
    }
}

// What a DWORD field must hold: short data fills the low bytes of the
// default; missing, long or lying data leaves the default.
uint32_t ExpectedDword(const PlantedKey& key, const char* name, uint32_t fallback) {
    const auto found = key.values.find(name);
    if (found == key.values.end() || found->second.lies || found->second.bytes.size() > kDwordReadCapacity)
        return fallback;
    uint8_t bytes[kDwordReadCapacity];
    EncodeDword(fallback, bytes);
    std::copy(found->second.bytes.begin(), found->second.bytes.end(), bytes);
    return DecodeDword(bytes);
}

bool SameSettings(const Settings& a, const Settings& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    PlantedKey key;
    while (input.remaining_bytes() > 0) {
        const char* name = kNames[input.ConsumeIntegralInRange<size_t>(0, std::size(kNames) - 1)];
        PlantedValue value;
        value.lies = input.ConsumeBool();
        value.bytes = input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange<size_t>(0, 12));
        key.values[name] = value;
    }

    const Settings defaults = DefaultSettings();
    const Settings loaded = ReadSettings(key);
    CheckInsideEnumerations(loaded);
    CheckWordField(key, "FixedSpeed", kSpeedModeCodec, loaded.FixedSpeed, defaults.FixedSpeed);
    CheckWordField(key, "LifeGame", kOnOffRandomCodec, loaded.LifeGame, defaults.LifeGame);
    CheckWordField(key, "Tovtov", kOnOffRandomCodec, loaded.Tovtov, defaults.Tovtov);
    CheckWordField(key, "Shrink", kOnOffRandomCodec, loaded.Shrink, defaults.Shrink);
    CheckWordField(key, "ConnectTBLR", kOnOffRandomCodec, loaded.ConnectTBLR, defaults.ConnectTBLR);
    CheckWordField(key, "Size", kCellSizeCodec, loaded.Size, defaults.Size);
    CheckWordField(key, "Colors", kSpeciesModeCodec, loaded.Colors, defaults.Colors);
    FUZZ_CHECK(loaded.Generations == ExpectedDword(key, "Generations", defaults.Generations));
    // Any stored number is capped at the fastest.
    const uint32_t storedSpeed = ExpectedDword(key, "Speed", defaults.Speed);
    FUZZ_CHECK(loaded.Speed == (storedSpeed <= kFastestSpeed ? storedSpeed : kFastestSpeed));

    // Saved and loaded again, the record is the same.
    FakeSettingsKey saved;
    WriteSettings(loaded, saved);
    FUZZ_CHECK(saved.values.size() == 9);
    FUZZ_CHECK(SameSettings(ReadSettings(saved), loaded));
    return 0;
}
