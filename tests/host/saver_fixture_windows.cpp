#include "saver_fixture_windows.h"

#include "settings/settings_store.h"

std::string SaverTest::folder_;
std::string SaverTest::exe_;

namespace {

// The values the suite sets, as they were before it; restored afterwards.
std::vector<SavedRegistryValue> savedSettings;

}  // namespace

void SaverTest::SetUpTestSuite() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "quorbel_host_tests";
    CreateDirectoryA(folder_.c_str(), nullptr);
    exe_ = folder_ + "\\Quorbel.scr";
    ASSERT_TRUE(CopyFileA(QUORBEL_SAVER_EXE, exe_.c_str(), FALSE))
        << "cannot copy " << QUORBEL_SAVER_EXE << " to " << exe_ << ": " << GetLastError();
    // The fastest fixed pace, so that the first tick comes at once. The
    // speed mode is a word: a number there would read as Random, with ticks
    // up to two seconds apart.
    savedSettings.clear();
    for (const char* name : {"FixedSpeed", "Speed"})
        savedSettings.emplace_back(HKEY_CURRENT_USER, kSettingsKeyPath, name);
    // An interrupted earlier run may have left the saver on the 95 family.
    UseWindows95Family(false);
    SetStringValue(HKEY_CURRENT_USER, kSettingsKeyPath, "FixedSpeed", "Fixed");
    SetDwordValue(HKEY_CURRENT_USER, kSettingsKeyPath, "Speed", 19);
    // Read back the way the program reads them.
    LoadSettings();
    ASSERT_EQ(userSettings.FixedSpeed, SpeedMode::Fixed);
    ASSERT_EQ(userSettings.Speed, 19u);
}

void SaverTest::TearDownTestSuite() {
    for (const SavedRegistryValue& saved : savedSettings)
        saved.restore();
    savedSettings.clear();
}

void SaverTest::SetUp() {
    MoveCursorTo(kCursorX, kCursorY);
    PumpFor(50);
}

void SaverTest::TearDown() { UseWindows95Family(false); }

void SaverTest::startSaver(SaverProcess& saver, const std::string& arguments) {
    ASSERT_TRUE(saver.start(exe_, arguments, folder_)) << "CreateProcess: " << GetLastError();
}

HWND SaverTest::startFullScreen(SaverProcess& saver) {
    startSaver(saver, "/s");
    HWND window = WaitForSaverWindow("Screen Saver", kWindowWait);
    EXPECT_NE(window, nullptr) << "no full-screen saver window";
    // Let the window settle (shown, activated) before any input.
    PumpFor(300);
    return window;
}

void UseWindows95Family(bool on) {
    if (on) {
        SetStringValue(HKEY_CURRENT_USER, kAppDefaultsKey, "Version", "win98");
    } else {
        DeleteValue(HKEY_CURRENT_USER, kAppDefaultsKey, "Version");
    }
}
