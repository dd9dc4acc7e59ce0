#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "settings/settings_file_key.h"
#include "settings/settings_store.h"

namespace fs = std::filesystem;

namespace {

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() / (std::string("quorbel_settings_") + info->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string PathOf(const char* name) const { return (dir_ / name).string(); }

    static void WriteFile(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string ReadFile(const std::string& path) {
        std::ostringstream text;
        text << std::ifstream(path, std::ios::binary).rdbuf();
        return text.str();
    }

    fs::path dir_;
};

void SetString(SettingsFileKey& key, const char* name, const std::string& bytes) {
    key.SetValue(name, SettingsValueType::String, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

TEST_F(SettingsFile, MissingFileIsAMissingKey) {
    SettingsFileKey key;
    EXPECT_FALSE(key.Open(PathOf("absent")));
}

TEST_F(SettingsFile, KeepsNamesTypesAndBytesAndFailsQueriesLikeTheRegistry) {
    SettingsFileKey key;
    SetString(key, "Size", std::string("Middle", 7));
    SetString(key, "FixedSpeed", std::string("Random!", 8));
    SetString(key, "Empty", "");
    const uint8_t speed[] = {0x13, 0, 0, 0x80};
    key.SetValue("Speed", SettingsValueType::Dword, speed, sizeof speed);
    SetString(key, "Size", std::string("Big", 4));  // replaced in place
    const std::string path = PathOf("nested/Settings");
    ASSERT_TRUE(key.Save(path));
    EXPECT_EQ("Size REG_SZ 42696700\nFixedSpeed REG_SZ 52616e646f6d2100\nEmpty REG_SZ \nSpeed REG_DWORD 13000080\n",
              ReadFile(path));

    SettingsFileKey reopened;
    ASSERT_TRUE(reopened.Open(path));
    uint8_t buffer[7];
    std::memset(buffer, 0xEE, sizeof buffer);
    EXPECT_FALSE(reopened.QueryValue("FixedSpeed", buffer, 7));
    EXPECT_EQ(0xEE, buffer[0]) << "a failed query must not touch the buffer";
    EXPECT_FALSE(reopened.QueryValue("Missing", buffer, 7));
    EXPECT_EQ(std::optional<size_t>(0), reopened.QueryValue("Empty", buffer, 7));
    ASSERT_EQ(std::optional<size_t>(4), reopened.QueryValue("Size", buffer, 7));
    EXPECT_EQ(0, std::memcmp("Big", buffer, 4));
    ASSERT_EQ(std::optional<size_t>(4), reopened.QueryValue("Speed", buffer, 4));
    EXPECT_EQ(0, std::memcmp(speed, buffer, 4));
}

TEST_F(SettingsFile, LinesThatDoNotParseAreUnreadableValues) {
    const std::string path = PathOf("Settings");
    WriteFile(path, "Size REG_SZ 42696700\nTovtov REG_SZ 4f6\nShrink REG_BINARY 00\nColors REG_SZ zz\n\nLifeGame\n");
    SettingsFileKey key;
    ASSERT_TRUE(key.Open(path));
    uint8_t buffer[7];
    EXPECT_TRUE(key.QueryValue("Size", buffer, 7));
    for (const char* name : {"Tovtov", "Shrink", "Colors", "LifeGame"}) {
        EXPECT_FALSE(key.QueryValue(name, buffer, 7)) << name;
    }
}

TEST_F(SettingsFile, FailedSaveLeavesTheFileAsItWas) {
    const std::string blocker = PathOf("blocker");
    WriteFile(blocker, "not a folder");
    SettingsFileKey key;
    SetString(key, "Size", "Big");
    EXPECT_FALSE(key.Save(blocker + "/Settings"));
    EXPECT_EQ("not a folder", ReadFile(blocker));
}

#ifndef _WIN32
// The process-wide store where there is no registry, under a private
// configuration folder.
class SettingsFileStore : public SettingsFile {
protected:
    void SetUp() override {
        SettingsFile::SetUp();
        const char* old = std::getenv("XDG_CONFIG_HOME");
        hadConfig_ = old != nullptr;
        if (old)
            oldConfig_ = old;
        setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
        std::memset(&userSettings, 0x5A, sizeof userSettings);
    }
    void TearDown() override {
        if (hadConfig_) {
            setenv("XDG_CONFIG_HOME", oldConfig_.c_str(), 1);
        } else {
            unsetenv("XDG_CONFIG_HOME");
        }
        SettingsFile::TearDown();
    }
    std::string KeyFile() const { return (dir_ / "Software/Pelmar/Quorbel/Settings").string(); }

    bool hadConfig_ = false;
    std::string oldConfig_;
};

TEST_F(SettingsFileStore, UsesTheKeyPathBelowTheConfigurationFolder) { EXPECT_EQ(KeyFile(), SettingsFilePath()); }

TEST_F(SettingsFileStore, MissingFileGivesTheDefaults) {
    LoadSettings();
    const Settings defaults = DefaultSettings();
    EXPECT_EQ(0, std::memcmp(&defaults, &userSettings, sizeof defaults));
    EXPECT_FALSE(fs::exists(KeyFile())) << "loading must not create the key";
}

TEST_F(SettingsFileStore, SaveThenLoadKeepsTheSettingsAndOtherValues) {
    fs::create_directories(fs::path(KeyFile()).parent_path());
    WriteFile(KeyFile(), "Other REG_SZ 7800\nSize REG_SZ 42696700\n");
    const Settings saved{SpeedMode::Random,   19,
                         OnOffRandom::Random, CellSize::Small,
                         4294967295u,         OnOffRandom::On,
                         OnOffRandom::Off,    OnOffRandom::Random,
                         SpeciesMode::Six};
    userSettings = saved;
    SaveSettings();
    std::memset(&userSettings, 0x5A, sizeof userSettings);
    LoadSettings();
    EXPECT_EQ(0, std::memcmp(&saved, &userSettings, sizeof saved));
    EXPECT_EQ(0u, ReadFile(KeyFile()).find("Other REG_SZ 7800\nSize REG_SZ 536d616c6c00\n"));
}
#endif
