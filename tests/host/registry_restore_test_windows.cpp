// The tests give back the registry values they change exactly as they found
// them: the same type and bytes, or no value at all.
#include <gtest/gtest.h>

#include "saver_harness_windows.h"

namespace {

constexpr char kScratchKey[] = "Software\\Pelmar\\QuorbelTests\\RestoreScratch";

struct ReadBack {
    bool present = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

ReadBack Read(const char* name) {
    const SavedRegistryValue now(HKEY_CURRENT_USER, kScratchKey, name);
    return {now.present(), now.type(), now.data()};
}

class RegistryRestore : public testing::Test {
protected:
    void TearDown() override { DeleteKeyTree(HKEY_CURRENT_USER, kScratchKey); }
};

TEST_F(RegistryRestore, GivesBackTypeAndBytesOverwrittenWithAnotherType) {
    const BYTE odd[] = {0x46, 0x00, 0x69, 0x78, 0xFF};  // not a DWORD, not a clean string
    SetBinaryValue(HKEY_CURRENT_USER, kScratchKey, "Value", odd, sizeof odd);
    const SavedRegistryValue saved(HKEY_CURRENT_USER, kScratchKey, "Value");
    SetDwordValue(HKEY_CURRENT_USER, kScratchKey, "Value", 19);
    ASSERT_EQ(Read("Value").type, static_cast<DWORD>(REG_DWORD));

    saved.restore();
    const ReadBack back = Read("Value");
    EXPECT_TRUE(back.present);
    EXPECT_EQ(back.type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(back.data, std::vector<BYTE>(odd, odd + sizeof odd));
}

TEST_F(RegistryRestore, GivesBackAStringWithItsTerminator) {
    SetStringValue(HKEY_CURRENT_USER, kScratchKey, "Value", "Random");
    const SavedRegistryValue saved(HKEY_CURRENT_USER, kScratchKey, "Value");
    SetStringValue(HKEY_CURRENT_USER, kScratchKey, "Value", "Fixed");
    saved.restore();
    const ReadBack back = Read("Value");
    EXPECT_EQ(back.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(std::string(back.data.begin(), back.data.end()), std::string("Random", 7));
}

TEST_F(RegistryRestore, RemovesAValueThatWasAbsent) {
    SetDwordValue(HKEY_CURRENT_USER, kScratchKey, "Other", 1);  // the key exists, the value does not
    const SavedRegistryValue saved(HKEY_CURRENT_USER, kScratchKey, "Value");
    EXPECT_FALSE(saved.present());
    SetStringValue(HKEY_CURRENT_USER, kScratchKey, "Value", "Fixed");
    saved.restore();
    EXPECT_FALSE(Read("Value").present);
    EXPECT_TRUE(Read("Other").present);
}

TEST_F(RegistryRestore, GivesBackAnEmptyValue) {
    SetBinaryValue(HKEY_CURRENT_USER, kScratchKey, "Value", nullptr, 0);
    const SavedRegistryValue saved(HKEY_CURRENT_USER, kScratchKey, "Value");
    SetDwordValue(HKEY_CURRENT_USER, kScratchKey, "Value", 7);
    saved.restore();
    const ReadBack back = Read("Value");
    EXPECT_TRUE(back.present);
    EXPECT_EQ(back.type, static_cast<DWORD>(REG_BINARY));
    EXPECT_TRUE(back.data.empty());
}

}  // namespace
