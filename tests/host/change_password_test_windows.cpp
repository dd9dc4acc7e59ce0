// Mode "a" on the Windows 95 family, with a stand-in "MPR.DLL" in the system
// folder that Wine loads for the saver alone (a per-program DLL override).
#include "saver_fixture_windows.h"
#include "standin_registry_windows.h"
#include "windows95_family_skip.h"

namespace {

constexpr char kOverridesKey[] = "Software\\Wine\\AppDefaults\\Quorbel.scr\\DllOverrides";

std::string SystemMpr() {
    char folder[MAX_PATH];
    GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\MPR.DLL";
}

class ChangePassword : public SaverTest {
protected:
    void SetUp() override {
        SaverTest::SetUp();
        if (!kBuildRunsOnWindows95Family)
            GTEST_SKIP() << kNoWindows95Family;
        UseWindows95Family(true);
        DeleteKeyTree(HKEY_CURRENT_USER, kStandInKey);
        backup_ = SystemMpr() + ".quorbel-test-backup";
        ASSERT_TRUE(CopyFileA(SystemMpr().c_str(), backup_.c_str(), FALSE))
            << "cannot keep the system's MPR.DLL: " << GetLastError();
        SetStringValue(HKEY_CURRENT_USER, kOverridesKey, "mpr", "native");
        owner_ = CreateWindowExA(0, "STATIC", "Display settings", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        PumpFor(100);
    }
    void TearDown() override {
        DestroyWindow(owner_);
        CopyFileA(backup_.c_str(), SystemMpr().c_str(), FALSE);
        DeleteFileA(backup_.c_str());
        DeleteKeyTree(HKEY_CURRENT_USER, kOverridesKey);
        DeleteKeyTree(HKEY_CURRENT_USER, kStandInKey);
        SaverTest::TearDown();
    }
    void installChanger(const char* dll) { ASSERT_TRUE(CopyFileA(dll, SystemMpr().c_str(), FALSE)) << GetLastError(); }
    DWORD runChange(const std::string& arguments) {
        SaverProcess saver;
        startSaver(saver, arguments);
        return saver.waitForExit(kExitWait);
    }
    HWND owner_ = nullptr;
    std::string backup_;
};

std::string Provider() {
    char provider[64] = {};
    ReadStandInString("ChangeProvider", provider, sizeof(provider) - 1);
    return provider;
}

TEST_F(ChangePassword, CallsTheSystemDialogWithTheOwner) {
    installChanger(QUORBEL_MPR_STANDIN_DLL);
    char number[16];
    wsprintfA(number, "%lu", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(owner_)));
    EXPECT_EQ(runChange(std::string("/a ") + number), 0u);
    EXPECT_EQ(ReadStandInDword("ChangeCalls", 0), 1u);
    EXPECT_EQ(Provider(), "SCRSAVE");
    EXPECT_EQ(ReadStandInDword("ChangeOwner", 0), static_cast<DWORD>(reinterpret_cast<UINT_PTR>(owner_)));
    EXPECT_EQ(ReadStandInDword("ChangeFlags", 99), 0u);
}

TEST_F(ChangePassword, NoUsableNumberFallsBackToTheForegroundWindow) {
    installChanger(QUORBEL_MPR_STANDIN_DLL);
    SetForegroundWindow(owner_);
    PumpFor(100);
    HWND foreground = GetForegroundWindow();
    for (const char* arguments : {"/a", "-A 1", "/a x"}) {
        DeleteKeyTree(HKEY_CURRENT_USER, kStandInKey);
        EXPECT_EQ(runChange(arguments), 0u) << arguments;
        EXPECT_EQ(ReadStandInDword("ChangeCalls", 0), 1u) << arguments;
        EXPECT_EQ(ReadStandInDword("ChangeOwner", 0), static_cast<DWORD>(reinterpret_cast<UINT_PTR>(foreground)))
            << arguments;
    }
}

TEST_F(ChangePassword, MissingExportStillEndsWithZero) {
    // A DLL without PwdChangePasswordA in MPR.DLL's place.
    installChanger(QUORBEL_STANDIN_DLL);
    EXPECT_EQ(runChange("/a"), 0u);
    EXPECT_EQ(ReadStandInDword("ChangeCalls", 0), 0u);
}

}  // namespace
