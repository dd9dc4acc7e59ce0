// LoadSettings and SaveSettings against the real per-user registry. Every
// test starts without the settings key and removes what it planted.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "settings/settings_key.h"
#include "settings/settings_store.h"

namespace {

constexpr const char kQuorbelKey[] = "Software\\Pelmar\\Quorbel";
constexpr const char kPelmarKey[] = "Software\\Pelmar";

struct RawValue {
    LONG status;
    DWORD type;
    std::vector<BYTE> data;
};

bool KeyExists(const char* path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

RawValue ReadRaw(const char* name) {
    RawValue v{ERROR_FILE_NOT_FOUND, REG_NONE, std::vector<BYTE>(64)};
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return v;
    DWORD length = static_cast<DWORD>(v.data.size());
    v.status = RegQueryValueExA(key, name, nullptr, &v.type, v.data.data(), &length);
    v.data.resize(v.status == ERROR_SUCCESS ? length : 0);
    RegCloseKey(key);
    return v;
}

std::vector<BYTE> Bytes(const char* text, size_t length) { return {text, text + length}; }

std::string Describe(const Settings& s) {
    return "{" + std::to_string(static_cast<int>(s.FixedSpeed)) + ", " + std::to_string(s.Speed) + ", " +
           std::to_string(static_cast<int>(s.Tovtov)) + ", " + std::to_string(static_cast<int>(s.Size)) + ", " +
           std::to_string(s.Generations) + ", " + std::to_string(static_cast<int>(s.ConnectTBLR)) + ", " +
           std::to_string(static_cast<int>(s.LifeGame)) + ", " + std::to_string(static_cast<int>(s.Shrink)) + ", " +
           std::to_string(static_cast<int>(s.Colors)) + "}";
}

bool Same(const Settings& a, const Settings& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

class SettingsRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        parentsExisted_ = KeyExists(kPelmarKey);
        RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKeyPath);
        ASSERT_FALSE(KeyExists(kSettingsKeyPath)) << "cannot start from a clean key";
        // Something other than the defaults, so a load that leaves a field
        // alone is seen.
        std::memset(&userSettings, 0x5A, sizeof userSettings);
    }

    void TearDown() override {
        if (key_)
            RegCloseKey(key_);
        RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKeyPath);
        if (!parentsExisted_) {
            RegDeleteKeyA(HKEY_CURRENT_USER, kQuorbelKey);
            RegDeleteKeyA(HKEY_CURRENT_USER, kPelmarKey);
        }
        EXPECT_FALSE(KeyExists(kSettingsKeyPath)) << "planted key left behind";
    }

    HKEY Key() {
        if (!key_) {
            DWORD disposition;
            EXPECT_EQ(ERROR_SUCCESS,
                      RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                      KEY_ALL_ACCESS, nullptr, &key_, &disposition));
        }
        return key_;
    }

    void Plant(const char* name, DWORD type, const void* data, DWORD length) {
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(Key(), name, 0, type, static_cast<const BYTE*>(data), length)) << name;
    }
    void PlantText(const char* name, const char* text, DWORD length) { Plant(name, REG_SZ, text, length); }
    void PlantDword(const char* name, DWORD value) { Plant(name, REG_DWORD, &value, sizeof value); }

    void ExpectLoaded(const Settings& expected) {
        LoadSettings();
        EXPECT_TRUE(Same(expected, userSettings))
            << "expected " << Describe(expected) << "\n     got " << Describe(userSettings);
    }

    HKEY key_ = nullptr;
    bool parentsExisted_ = false;
};

TEST_F(SettingsRegistry, MissingKeyGivesTheDefaults) {
    ExpectLoaded(DefaultSettings());
    EXPECT_FALSE(KeyExists(kSettingsKeyPath)) << "loading must not create the key";
}

TEST_F(SettingsRegistry, EmptyKeyGivesTheDefaults) {
    Key();
    ExpectLoaded(DefaultSettings());
}

TEST_F(SettingsRegistry, TextOverSevenBytesKeepsTheDefaultAndSixCharactersFit) {
    PlantText("FixedSpeed", "Random!", 8);
    PlantText("Shrink", "RANDOM", 7);
    // The registry counts a NUL that directly follows the data, so the text
    // is followed by another byte to store it without its NUL.
    PlantText("Tovtov", "RandomX", 6);
    PlantText("Size", "big", 4);
    Settings expected = DefaultSettings();
    expected.Shrink = OnOffRandom::Random;
    expected.Tovtov = OnOffRandom::Random;
    expected.Size = CellSize::Big;
    ExpectLoaded(expected);
}

TEST_F(SettingsRegistry, UnrecognisedTextAndNumbersInStringFieldsGiveTheFallback) {
    PlantDword("FixedSpeed", 1);
    PlantDword("LifeGame", 1);
    PlantText("Tovtov", "OFF", 4);
    PlantText("ConnectTBLR", "FiXeD", 6);
    PlantText("Colors", "6", 2);
    PlantDword("Speed", 25);
    PlantDword("Generations", 0);
    Settings expected = DefaultSettings();
    expected.FixedSpeed = SpeedMode::Random;
    expected.LifeGame = OnOffRandom::Off;
    expected.Tovtov = OnOffRandom::Off;
    expected.Colors = SpeciesMode::Six;
    expected.Speed = 19;
    expected.Generations = 0;
    ExpectLoaded(expected);
}

TEST_F(SettingsRegistry, SpeedAboveNineteenTakenUnsignedIsClamped) {
    PlantDword("Speed", 4294967295u);
    PlantDword("Generations", 4294967295u);
    Settings expected = DefaultSettings();
    expected.Speed = 19;
    expected.Generations = 4294967295u;
    ExpectLoaded(expected);
}

TEST_F(SettingsRegistry, NumberDataOverFourBytesKeepsTheDefaultAndShorterDataIsZeroExtended) {
    const BYTE eight[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    const BYTE one[1] = {9};
    Plant("Speed", REG_BINARY, eight, sizeof eight);
    Plant("Generations", REG_BINARY, one, sizeof one);
    Settings expected = DefaultSettings();
    expected.Generations = 9;
    ExpectLoaded(expected);
}

TEST_F(SettingsRegistry, EveryLoadStartsFromTheDefaults) {
    PlantText("Size", "Small", 6);
    PlantDword("Speed", 3);
    LoadSettings();
    ASSERT_EQ(CellSize::Small, userSettings.Size);
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteValueA(Key(), "Size"));
    Settings expected = DefaultSettings();
    expected.Speed = 3;
    ExpectLoaded(expected);
}

TEST_F(SettingsRegistry, SaveWritesEachValueWithItsTypeLengthAndBytes) {
    userSettings = {SpeedMode::Fixed,    7,
                    OnOffRandom::Random, CellSize::Middle,
                    0x01020304u,         OnOffRandom::On,
                    OnOffRandom::Off,    OnOffRandom::Random,
                    SpeciesMode::Six};
    SaveSettings();
    const struct {
        const char* name;
        DWORD type;
        std::vector<BYTE> data;
    } expected[] = {
        {"FixedSpeed", REG_SZ, Bytes("Fixed", 6)}, {"LifeGame", REG_SZ, Bytes("Off", 4)},
        {"Tovtov", REG_SZ, Bytes("Random", 7)},    {"Shrink", REG_SZ, Bytes("Random", 7)},
        {"ConnectTBLR", REG_SZ, Bytes("On", 3)},   {"Size", REG_SZ, Bytes("Middle", 7)},
        {"Colors", REG_SZ, Bytes("6", 2)},         {"Speed", REG_DWORD, {7, 0, 0, 0}},
        {"Generations", REG_DWORD, {4, 3, 2, 1}},
    };
    for (const auto& e : expected) {
        const RawValue v = ReadRaw(e.name);
        ASSERT_EQ(ERROR_SUCCESS, v.status) << e.name;
        EXPECT_EQ(e.type, v.type) << e.name;
        EXPECT_EQ(e.data, v.data) << e.name;
    }
    // The write order is not checked here: Wine enumerates values sorted by
    // name, not in the order they were written.
}

TEST_F(SettingsRegistry, SaveThenLoadGivesBackAllNineFields) {
    const Settings choices[] = {
        {SpeedMode::Random, 0, OnOffRandom::Off, CellSize::Small, 0, OnOffRandom::Off, OnOffRandom::Off,
         OnOffRandom::Off, SpeciesMode::One},
        {SpeedMode::Fixed, 19, OnOffRandom::Random, CellSize::Random, 4294967295u, OnOffRandom::Random,
         OnOffRandom::Random, OnOffRandom::Random, SpeciesMode::Random},
        {SpeedMode::Fixed, 11, OnOffRandom::On, CellSize::Big, 20, OnOffRandom::On, OnOffRandom::On, OnOffRandom::On,
         SpeciesMode::Three},
        {SpeedMode::Random, 5, OnOffRandom::Off, CellSize::Middle, 1000, OnOffRandom::Random, OnOffRandom::On,
         OnOffRandom::Off, SpeciesMode::Six},
    };
    for (const Settings& choice : choices) {
        userSettings = choice;
        SaveSettings();
        std::memset(&userSettings, 0x5A, sizeof userSettings);
        ExpectLoaded(choice);
    }
}

// A key whose security lets everyone read it and delete it but not write it.
bool DenyWrites(HKEY key) {
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone))
        return false;
    BYTE aclBuffer[256];
    PACL acl = reinterpret_cast<PACL>(aclBuffer);
    SECURITY_DESCRIPTOR sd;
    const bool ok = InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION) &&
                    AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ | DELETE | WRITE_DAC, everyone) &&
                    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) &&
                    SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE) &&
                    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd) == ERROR_SUCCESS;
    FreeSid(everyone);
    return ok;
}

TEST_F(SettingsRegistry, UnwritableKeyIsLeftAsItWas) {
    PlantText("Size", "Big", 4);
    PlantDword("Generations", 99);
    ASSERT_TRUE(DenyWrites(Key()));
    RegCloseKey(key_);
    key_ = nullptr;

    HKEY probe;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, KEY_SET_VALUE, &probe) == ERROR_SUCCESS) {
        RegCloseKey(probe);
        GTEST_SKIP() << "this registry does not enforce a key's security, so no key is unwritable";
    }

    userSettings = DefaultSettings();
    userSettings.Size = CellSize::Small;
    userSettings.Generations = 5;
    SaveSettings();

    EXPECT_EQ(Bytes("Big", 4), ReadRaw("Size").data);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, ReadRaw("Speed").status);
    Settings expected = DefaultSettings();
    expected.Size = CellSize::Big;
    expected.Generations = 99;
    ExpectLoaded(expected);
}

}  // namespace
