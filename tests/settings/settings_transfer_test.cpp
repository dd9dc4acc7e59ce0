#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "fake_settings_key.h"
#include "settings/settings_transfer.h"

namespace {

const std::vector<std::string> kValueOrder = {"FixedSpeed", "LifeGame", "Tovtov", "Shrink",     "ConnectTBLR",
                                              "Size",       "Colors",   "Speed",  "Generations"};

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

std::vector<uint8_t> DwordBytes(uint32_t v) {
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
}

void ExpectSameSettings(const Settings& expected, const Settings& actual) {
    EXPECT_EQ(expected.FixedSpeed, actual.FixedSpeed);
    EXPECT_EQ(expected.Speed, actual.Speed);
    EXPECT_EQ(expected.Tovtov, actual.Tovtov);
    EXPECT_EQ(expected.Size, actual.Size);
    EXPECT_EQ(expected.Generations, actual.Generations);
    EXPECT_EQ(expected.ConnectTBLR, actual.ConnectTBLR);
    EXPECT_EQ(expected.LifeGame, actual.LifeGame);
    EXPECT_EQ(expected.Shrink, actual.Shrink);
    EXPECT_EQ(expected.Colors, actual.Colors);
}

}  // namespace

TEST(SettingsTransfer, EmptyKeyGivesTheDefaultsAfterQueryingEveryValueInOrder) {
    FakeSettingsKey key;
    const Settings s = ReadSettings(key);
    EXPECT_EQ(SpeedMode::Fixed, s.FixedSpeed);
    EXPECT_EQ(5u, s.Speed);
    EXPECT_EQ(OnOffRandom::On, s.Tovtov);
    EXPECT_EQ(CellSize::Middle, s.Size);
    EXPECT_EQ(20u, s.Generations);
    EXPECT_EQ(OnOffRandom::Off, s.ConnectTBLR);
    EXPECT_EQ(OnOffRandom::On, s.LifeGame);
    EXPECT_EQ(OnOffRandom::Off, s.Shrink);
    EXPECT_EQ(SpeciesMode::One, s.Colors);

    ASSERT_EQ(kValueOrder.size(), key.queries.size());
    for (size_t i = 0; i < kValueOrder.size(); ++i) {
        EXPECT_EQ(kValueOrder[i], key.queries[i].name);
        EXPECT_EQ(i < 7 ? 7u : 4u, key.queries[i].capacity) << kValueOrder[i];
    }
}

TEST(SettingsTransfer, UnrecognisedTextGivesTheFallbackNotTheDefault) {
    FakeSettingsKey key;
    key.PlantString("FixedSpeed", std::string("Fast", 5));
    key.PlantString("Tovtov", std::string("No", 3));
    key.PlantString("LifeGame", std::string("0", 2));
    key.PlantString("Size", std::string("Medium", 7));
    key.PlantString("Colors", std::string("2", 2));
    const Settings s = ReadSettings(key);
    EXPECT_EQ(SpeedMode::Random, s.FixedSpeed);
    EXPECT_EQ(OnOffRandom::Off, s.Tovtov);
    EXPECT_EQ(OnOffRandom::Off, s.LifeGame);
    EXPECT_EQ(CellSize::Middle, s.Size);
    EXPECT_EQ(SpeciesMode::One, s.Colors);
}

TEST(SettingsTransfer, DataOverTheCapacityKeepsTheDefaultAndSixCharactersFit) {
    FakeSettingsKey key;
    key.PlantString("FixedSpeed", std::string("Random!", 8));
    key.PlantString("Shrink", std::string("RANDOM", 7));
    key.PlantString("ConnectTBLR", "Random");  // no NUL: the text ends with the data
    key.PlantString("Size", std::string("big\0\0\0\0", 8));
    key.PlantBytes("Speed", SettingsValueType::Dword, {1, 0, 0, 0, 0});
    const Settings s = ReadSettings(key);
    EXPECT_EQ(SpeedMode::Fixed, s.FixedSpeed);
    EXPECT_EQ(OnOffRandom::Random, s.Shrink);
    EXPECT_EQ(OnOffRandom::Random, s.ConnectTBLR);
    EXPECT_EQ(CellSize::Middle, s.Size);
    EXPECT_EQ(5u, s.Speed);
}

TEST(SettingsTransfer, StoredTypeIsIgnoredAndBytesAreComparedAsText) {
    FakeSettingsKey key;
    key.PlantBytes("FixedSpeed", SettingsValueType::Dword, DwordBytes(1));
    key.PlantBytes("Tovtov", SettingsValueType::Dword, DwordBytes(1));
    key.PlantBytes("Colors", SettingsValueType::Dword, Bytes("6"));
    key.PlantBytes("Generations", SettingsValueType::String, Bytes(std::string("On\0", 3)));
    const Settings s = ReadSettings(key);
    EXPECT_EQ(SpeedMode::Random, s.FixedSpeed);
    EXPECT_EQ(OnOffRandom::Off, s.Tovtov);
    EXPECT_EQ(SpeciesMode::Six, s.Colors);
    EXPECT_EQ(0x00006E4Fu, s.Generations);  // 'O' 'n' NUL, high byte from the default 20
}

TEST(SettingsTransfer, SpeedIsClampedAndGenerationsIsNot) {
    const struct { uint32_t stored, speed; } cases[] = {{25, 19}, {4294967295u, 19}, {19, 19}, {0, 0}, {7, 7}};
    for (const auto& c : cases) {
        FakeSettingsKey key;
        key.PlantBytes("Speed", SettingsValueType::Dword, DwordBytes(c.stored));
        key.PlantBytes("Generations", SettingsValueType::Dword, DwordBytes(c.stored));
        const Settings s = ReadSettings(key);
        EXPECT_EQ(c.speed, s.Speed) << "stored " << c.stored;
        EXPECT_EQ(c.stored, s.Generations);
    }
}

TEST(SettingsTransfer, ShortNumberDataReadsAsZeroExtended) {
    FakeSettingsKey key;
    key.PlantBytes("Speed", SettingsValueType::Dword, {12});
    key.PlantBytes("Generations", SettingsValueType::Dword, {0x34, 0x12});
    const Settings s = ReadSettings(key);
    EXPECT_EQ(12u, s.Speed);
    EXPECT_EQ(0x1234u, s.Generations);
}

TEST(SettingsTransfer, WritesEveryValueInOrderWithItsTypeAndExactBytes) {
    FakeSettingsKey key;
    const Settings s{SpeedMode::Random,   19,
                     OnOffRandom::Random, CellSize::Small,
                     4294967295u,         OnOffRandom::On,
                     OnOffRandom::Off,    OnOffRandom::Random,
                     SpeciesMode::Three};
    WriteSettings(s, key);
    EXPECT_EQ(kValueOrder, key.writeOrder);

    const struct {
        const char* name;
        SettingsValueType type;
        std::vector<uint8_t> data;
    } expected[] = {
        {"FixedSpeed", SettingsValueType::String, Bytes(std::string("Random", 7))},
        {"LifeGame", SettingsValueType::String, Bytes(std::string("Off", 4))},
        {"Tovtov", SettingsValueType::String, Bytes(std::string("Random", 7))},
        {"Shrink", SettingsValueType::String, Bytes(std::string("Random", 7))},
        {"ConnectTBLR", SettingsValueType::String, Bytes(std::string("On", 3))},
        {"Size", SettingsValueType::String, Bytes(std::string("Small", 6))},
        {"Colors", SettingsValueType::String, Bytes(std::string("3", 2))},
        {"Speed", SettingsValueType::Dword, {19, 0, 0, 0}},
        {"Generations", SettingsValueType::Dword, {0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const auto& e : expected) {
        ASSERT_EQ(1u, key.values.count(e.name)) << e.name;
        EXPECT_EQ(e.type, key.values[e.name].type) << e.name;
        EXPECT_EQ(e.data, key.values[e.name].data) << e.name;
    }
}

TEST(SettingsTransfer, FailedWriteLeavesTheOthersWritten) {
    FakeSettingsKey key;
    key.failingWrites = {"Tovtov", "Speed"};
    WriteSettings(DefaultSettings(), key);
    EXPECT_EQ(kValueOrder, key.writeOrder);
    EXPECT_EQ(7u, key.values.size());
    EXPECT_EQ(0u, key.values.count("Tovtov"));
    EXPECT_EQ(Bytes(std::string("Middle", 7)), key.values["Size"].data);
    EXPECT_EQ(DwordBytes(20), key.values["Generations"].data);
}

TEST(SettingsTransfer, NumberOutsideItsEnumerationLeavesTheStoredValueAlone) {
    FakeSettingsKey key;
    key.PlantString("Size", std::string("Big", 4));
    Settings s = DefaultSettings();
    s.Size = static_cast<CellSize>(7);
    s.Colors = static_cast<SpeciesMode>(-1);
    WriteSettings(s, key);
    EXPECT_EQ(Bytes(std::string("Big", 4)), key.values["Size"].data);
    EXPECT_EQ(0u, key.values.count("Colors"));
    EXPECT_EQ(7u, key.writeOrder.size());
}

TEST(SettingsTransfer, SaveThenLoadReproducesEveryDialogChoice) {
    const uint32_t generations[] = {0, 1, 20, 65536, 4294967295u};
    size_t checked = 0;
    Settings s{};
    // One key for all: every save writes all nine values over the last ones.
    FakeSettingsKey key;
    for (int32_t fixedSpeed = 0; fixedSpeed <= 1; ++fixedSpeed)
        for (int32_t tovtov = 0; tovtov <= 2; ++tovtov)
            for (int32_t connect = 0; connect <= 2; ++connect)
                for (int32_t life = 0; life <= 2; ++life)
                    for (int32_t shrink = 0; shrink <= 2; ++shrink)
                        for (int32_t size = 0; size <= 3; ++size)
                            for (int32_t colors = 0; colors <= 3; ++colors)
                                for (uint32_t speed = 0; speed <= 19; ++speed)
                                    for (uint32_t gens : generations) {
                                        s = {static_cast<SpeedMode>(fixedSpeed),
                                             speed,
                                             static_cast<OnOffRandom>(tovtov),
                                             static_cast<CellSize>(size),
                                             gens,
                                             static_cast<OnOffRandom>(connect),
                                             static_cast<OnOffRandom>(life),
                                             static_cast<OnOffRandom>(shrink),
                                             static_cast<SpeciesMode>(colors)};
                                        key.queries.clear();
                                        key.writeOrder.clear();
                                        WriteSettings(s, key);
                                        const Settings back = ReadSettings(key);
                                        ++checked;
                                        if (std::memcmp(&s, &back, sizeof s) != 0) {
                                            ExpectSameSettings(s, back);
                                            FAIL() << "round trip lost a value";
                                        }
                                    }
    EXPECT_EQ(2u * 81 * 16 * 20 * 5, checked);
}
