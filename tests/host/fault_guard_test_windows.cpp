// A fault inside a running saver: the system's report is asked for, then the
// saver-running state is cleared and the process ends with the fault's code
// on the NT family, and with that call's result (1, the state cleared) on the
// 95 family. It must hold
// on every thread, and also after a module the saver loaded has put in a
// filter of its own.
#include "saver_fixture_windows.h"
#include "standin_registry_windows.h"
#include "windows95_family_skip.h"
// After windows.h, which the fixture brings.
#include <tlhelp32.h>

namespace {

// 32-bit programs read this key through the 32-bit registry view, as we do.
constexpr char kAeDebugKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug";
constexpr DWORD kFilterWait = 5000;

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
    // The 95 family with a password set and the stand-in verifier in place,
    // so that the saver-running state is on during the run.
    static void UseWindows95FamilyWithVerifier(DWORD installFilter) {
        UseWindows95Family(true);
        SetDwordValue(HKEY_CURRENT_USER, kDesktopKey, "ScreenSaveUsePassword", 1);
        WriteStandInDword("InstallFilter", installFilter);
        ASSERT_TRUE(CopyFileA(QUORBEL_STANDIN_DLL, SystemPassword().c_str(), FALSE));
    }
    static std::string Sequence() {
        char sequence[64] = {};
        ReadStandInString("Sequence", sequence, sizeof(sequence) - 1);
        return sequence;
    }

    // Makes a new thread of the saver jump to an address where nothing is
    // mapped.
    static void FaultOnNewThread(SaverProcess& saver) {
        auto nowhere = reinterpret_cast<LPTHREAD_START_ROUTINE>(static_cast<UINT_PTR>(0x10));
        HANDLE thread = CreateRemoteThread(saver.handle(), nullptr, 0, nowhere, nullptr, 0, nullptr);
        ASSERT_NE(thread, nullptr) << "CreateRemoteThread: " << GetLastError();
        CloseHandle(thread);
    }
    // Makes one of the saver's own threads jump there, wherever it is. A
    // thread waiting for a message takes the new address when its wait ends,
    // so the window is sent a message that means nothing.
    static void FaultOn(HANDLE thread, HWND window) {
        ASSERT_NE(thread, nullptr);
        ASSERT_NE(SuspendThread(thread), static_cast<DWORD>(-1)) << "SuspendThread: " << GetLastError();
        CONTEXT context{};
        context.ContextFlags = CONTEXT_CONTROL;
        ASSERT_TRUE(GetThreadContext(thread, &context)) << "GetThreadContext: " << GetLastError();
#ifdef _WIN64
        context.Rip = 0x10;
#else
        context.Eip = 0x10;
#endif
        ASSERT_TRUE(SetThreadContext(thread, &context)) << "SetThreadContext: " << GetLastError();
        ResumeThread(thread);
        PostMessageA(window, WM_NULL, 0, 0);
    }
    // The animation thread: the one thread of the saver at idle priority.
    static HANDLE AnimationThreadOf(const SaverProcess& saver) {
        HANDLE found = nullptr;
        int idle = 0;
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
        THREADENTRY32 entry{};
        entry.dwSize = sizeof(entry);
        for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
            if (entry.th32OwnerProcessID != saver.id())
                continue;
            HANDLE thread = OpenThread(THREAD_ALL_ACCESS, FALSE, entry.th32ThreadID);
            if (thread && GetThreadPriority(thread) == THREAD_PRIORITY_IDLE) {
                ++idle;
                if (found)
                    CloseHandle(found);
                found = thread;
            } else if (thread) {
                CloseHandle(thread);
            }
        }
        CloseHandle(snapshot);
        EXPECT_EQ(idle, 1) << "threads at idle priority";
        return found;
    }
    // Runs a full-screen saver, faults the thread that `pick` chooses, and
    // returns the exit code.
    template <typename Pick>
    DWORD faultAndWait(Pick pick) {
        SaverProcess saver;
        HWND window = startFullScreen(saver);
        if (!window)
            return kStillRunning;
        HANDLE thread = pick(saver);
        FaultOn(thread, window);
        DWORD code = saver.waitForExit(kExitWait);
        if (thread != saver.mainThread())
            CloseHandle(thread);
        return code;
    }
    static HANDLE MainThread(const SaverProcess& saver) { return saver.mainThread(); }

    SavedRegistryValue savedDebugger_{HKEY_LOCAL_MACHINE, kAeDebugKey, "Debugger"};
};

// A crash is never reported as success.
TEST_F(FaultGuard, NtFamilyFaultOnAnotherThreadEndsWithTheFaultsCode) {
    SaverProcess saver;
    ASSERT_NE(startFullScreen(saver), nullptr);
    FaultOnNewThread(saver);
    EXPECT_EQ(saver.waitForExit(kExitWait), static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
}

TEST_F(FaultGuard, NtFamilyFaultOnTheMainThreadEndsWithTheFaultsCode) {
    EXPECT_EQ(faultAndWait(MainThread), static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
}

TEST_F(FaultGuard, NtFamilyFaultOnTheAnimationThreadEndsWithTheFaultsCode) {
    EXPECT_EQ(faultAndWait(AnimationThreadOf), static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
}

TEST_F(FaultGuard, Windows95FamilyClearsTheSaverRunningStateForAFaultOnAnotherThread) {
    if (!kBuildRunsOnWindows95Family)
        GTEST_SKIP() << kNoWindows95Family;
    UseWindows95FamilyWithVerifier(0);
    SaverProcess saver;
    ASSERT_NE(startFullScreen(saver), nullptr);
    FaultOnNewThread(saver);
    EXPECT_EQ(saver.waitForExit(kExitWait), 1u);
    EXPECT_EQ(Sequence(), "+-");
}

TEST_F(FaultGuard, Windows95FamilyClearsTheSaverRunningStateForAFaultOnTheMainThread) {
    if (!kBuildRunsOnWindows95Family)
        GTEST_SKIP() << kNoWindows95Family;
    UseWindows95FamilyWithVerifier(0);
    EXPECT_EQ(faultAndWait(MainThread), 1u);
    EXPECT_EQ(Sequence(), "+-");
}

TEST_F(FaultGuard, Windows95FamilyClearsTheSaverRunningStateForAFaultOnTheAnimationThread) {
    if (!kBuildRunsOnWindows95Family)
        GTEST_SKIP() << kNoWindows95Family;
    UseWindows95FamilyWithVerifier(0);
    EXPECT_EQ(faultAndWait(AnimationThreadOf), 1u);
    EXPECT_EQ(Sequence(), "+-");
}

// The verifier takes the filter while it loads: the guard is put back as
// soon as the load returns. "F" would be the verifier's filter running.
TEST_F(FaultGuard, GuardHoldsAfterTheVerifierInstalledItsOwnFilterWhileLoading) {
    if (!kBuildRunsOnWindows95Family)
        GTEST_SKIP() << kNoWindows95Family;
    UseWindows95FamilyWithVerifier(1);
    EXPECT_EQ(faultAndWait(MainThread), 1u);
    EXPECT_EQ(ReadStandInDword("FilterInstalled", 0), 1u);
    EXPECT_EQ(Sequence(), "+-");
}

// A module takes the filter later, at a moment the saver does not see (as an
// input method may): the next tick puts the guard back.
TEST_F(FaultGuard, GuardHoldsAfterAModuleInstalledItsOwnFilterDuringTheRun) {
    if (!kBuildRunsOnWindows95Family)
        GTEST_SKIP() << kNoWindows95Family;
    UseWindows95FamilyWithVerifier(2);
    SaverProcess saver;
    HWND window = startFullScreen(saver);
    ASSERT_NE(window, nullptr);
    const DWORD start = GetTickCount();
    while (ReadStandInDword("FilterInstalled", 0) != 1 && GetTickCount() - start < kFilterWait)
        PumpFor(20);
    ASSERT_EQ(ReadStandInDword("FilterInstalled", 0), 1u) << "the stand-in did not install its filter";
    // Several ticks at the fastest speed.
    PumpFor(300);
    HANDLE animation = AnimationThreadOf(saver);
    FaultOn(animation, window);
    EXPECT_EQ(saver.waitForExit(kExitWait), 1u);
    CloseHandle(animation);
    EXPECT_EQ(Sequence(), "+-");
}

}  // namespace
