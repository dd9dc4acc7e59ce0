#include "saver_fixture_windows.h"

std::string SaverTest::folder_;
std::string SaverTest::exe_;

namespace {

struct SavedDword {
    const char* name;
    bool present;
    DWORD value;
};
SavedDword savedSettings[] = {{"FixedSpeed", false, 0}, {"Speed", false, 0}};

void Remember(SavedDword& saved) {
    HKEY key = nullptr;
    saved.present = false;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    DWORD size = sizeof(saved.value);
    DWORD type = 0;
    saved.present = RegQueryValueExA(key, saved.name, nullptr, &type, reinterpret_cast<BYTE*>(&saved.value), &size) ==
                        ERROR_SUCCESS &&
                    type == REG_DWORD;
    RegCloseKey(key);
}

}  // namespace

void SaverTest::SetUpTestSuite() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "quorbel_host_tests";
    CreateDirectoryA(folder_.c_str(), nullptr);
    exe_ = folder_ + "\\Quorbel.scr";
    ASSERT_TRUE(CopyFileA(QUORBEL_SAVER_EXE, exe_.c_str(), FALSE))
        << "cannot copy " << QUORBEL_SAVER_EXE << " to " << exe_ << ": " << GetLastError();
    // The fastest pace, so that the first tick comes at once.
    for (SavedDword& saved : savedSettings)
        Remember(saved);
    // An interrupted earlier run may have left the saver on the 95 family.
    UseWindows95Family(false);
    SetDwordValue(HKEY_CURRENT_USER, kSettingsKey, "FixedSpeed", 1);
    SetDwordValue(HKEY_CURRENT_USER, kSettingsKey, "Speed", 19);
}

void SaverTest::TearDownTestSuite() {
    for (const SavedDword& saved : savedSettings) {
        if (saved.present) {
            SetDwordValue(HKEY_CURRENT_USER, kSettingsKey, saved.name, saved.value);
        } else {
            DeleteValue(HKEY_CURRENT_USER, kSettingsKey, saved.name);
        }
    }
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
