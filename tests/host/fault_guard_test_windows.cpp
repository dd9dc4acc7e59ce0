// A fault inside a running saver: the system's report is asked for, then the
// saver-running state is cleared and the process ends with that call's result.
#include "saver_fixture_windows.h"
#include "standin_registry_windows.h"

namespace {

// 32-bit programs read this key through the 32-bit registry view, as we do.
constexpr char kAeDebugKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug";

class FaultGuard : public SaverTest {
protected:
    void SetUp() override {
        SaverTest::SetUp();
        // The system's report would start Wine's debugger, which ends the
        // process itself; a debugger that cannot start lets the report
        // return "handle it", as a report the user dismissed does.
        SetStringValue(HKEY_LOCAL_MACHINE, kAeDebugKey, "Debugger", "quorbel-missing-debugger %ld %ld");
        DeleteKeyTree(HKEY_CURRENT_USER, kStandInKey);
    }
    void TearDown() override {
        savedDebugger_.restore();
        DeleteValue(HKEY_CURRENT_USER, kDesktopKey, "ScreenSaveUsePassword");
        DeleteFileA(SystemPassword().c_str());
        DeleteKeyTree(HKEY_CURRENT_USER, kStandInKey);
        SaverTest::TearDown();
    }
    static std::string SystemPassword() {
        char folder[MAX_PATH];
        GetSystemDirectoryA(folder, MAX_PATH);
        return std::string(folder) + "\\PASSWORD.CPL";
    }
    // Makes a thread of the saver jump to an address where nothing is mapped.
    static void Fault(SaverProcess& saver) {
        auto nowhere = reinterpret_cast<LPTHREAD_START_ROUTINE>(static_cast<UINT_PTR>(0x10));
        HANDLE thread = CreateRemoteThread(saver.handle(), nullptr, 0, nowhere, nullptr, 0, nullptr);
        ASSERT_NE(thread, nullptr) << "CreateRemoteThread: " << GetLastError();
        CloseHandle(thread);
    }
    SavedRegistryValue savedDebugger_{HKEY_LOCAL_MACHINE, kAeDebugKey, "Debugger"};
};

TEST_F(FaultGuard, NtFamilyEndsWithZero) {
    SaverProcess saver;
    ASSERT_NE(startFullScreen(saver), nullptr);
    Fault(saver);
    // Without the guard the exit code would be the fault's code, 0xC0000005.
    EXPECT_EQ(saver.waitForExit(kExitWait), 0u);
}

TEST_F(FaultGuard, Windows95FamilyClearsTheSaverRunningState) {
    UseWindows95Family(true);
    SetDwordValue(HKEY_CURRENT_USER, kDesktopKey, "ScreenSaveUsePassword", 1);
    ASSERT_TRUE(CopyFileA(QUORBEL_STANDIN_DLL, SystemPassword().c_str(), FALSE));
    SaverProcess saver;
    ASSERT_NE(startFullScreen(saver), nullptr);
    Fault(saver);
    // The result of turning the state off, which succeeds.
    EXPECT_EQ(saver.waitForExit(kExitWait), 1u);
    char sequence[64] = {};
    ReadStandInString("Sequence", sequence, sizeof(sequence) - 1);
    EXPECT_STREQ(sequence, "+-");
}

}  // namespace
