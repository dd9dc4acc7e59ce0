// A preview whose parent's process ends without destroying the parent: the
// host's preview runs on a thread of the test, its parent in a process of
// its own. Ticks are counted, not timed: the host puts its fault guard back
// before every tick (KeepFaultGuard), so a filter of the test's that is
// found replaced means a tick has begun.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <set>
#include <thread>

#include "host/host_main_windows.h"
#include "host/host_state_windows.h"
#include "saver_harness_windows.h"
#include "settings/settings_key.h"

// After windows.h, which the harness brings.
#include <tlhelp32.h>

namespace {

LONG WINAPI TestMark(EXCEPTION_POINTERS*) { return EXCEPTION_CONTINUE_SEARCH; }

// Guard replacements since the last look: 1 when the host has put its guard
// back (the ticks are seconds apart, the looks milliseconds), else 0.
int GuardsSinceLastLook() { return SetUnhandledExceptionFilter(TestMark) != TestMark ? 1 : 0; }

constexpr DWORD kLimit = 30000;  // generous: only a fault waits this long

std::set<DWORD> ThreadsOfThisProcess() {
    std::set<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == GetCurrentProcessId())
            ids.insert(entry.th32ThreadID);
    }
    CloseHandle(snapshot);
    return ids;
}

TEST(PreviewParent, NoTickRunsAfterTheParentsProcessEnds) {
    // Speed 0: two seconds between ticks, against the preview's quarter-
    // second look for its parent.
    const SavedRegistryValue fixedSpeed(HKEY_CURRENT_USER, kSettingsKeyPath, "FixedSpeed");
    const SavedRegistryValue speed(HKEY_CURRENT_USER, kSettingsKeyPath, "Speed");
    SetStringValue(HKEY_CURRENT_USER, kSettingsKeyPath, "FixedSpeed", "Fixed");
    SetDwordValue(HKEY_CURRENT_USER, kSettingsKeyPath, "Speed", 0);

    SaverProcess host;
    ASSERT_TRUE(host.start(QUORBEL_PREVIEW_HOST_EXE, "", "."));
    HWND parent = nullptr;
    for (DWORD waited = 0; !parent && waited < kLimit; waited += 50) {
        PumpFor(50);
        parent = FindWindowA("QuorbelTestPreviewHost", "Preview host");
    }
    ASSERT_NE(parent, nullptr) << "no window from the preview host";

    // Each run registers the saver's class: one that ran before in this
    // process left it registered, and this one takes it away again.
    UnregisterClassA(kSaverClass, GetModuleHandleA(nullptr));
    hostState.instance = GetModuleHandleA(nullptr);
    char number[16];
    std::snprintf(number, sizeof(number), "%lu", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(parent)));
    GuardsSinceLastLook();
    const std::set<DWORD> before = ThreadsOfThisProcess();
    std::atomic<bool> ended{false};
    int32_t result = -2;
    std::thread preview([&] {
        result = RunPreview(number);
        ended = true;
    });

    // The first guard comes with the window, the second with the first tick.
    int guards = 0;
    for (DWORD waited = 0; guards < 2 && !ended && waited < kLimit; waited += 10) {
        PumpFor(10);
        guards += GuardsSinceLastLook();
    }
    ASSERT_EQ(guards, 2) << "no tick";
    std::set<DWORD> started;  // the preview's thread and the ticking one
    for (DWORD id : ThreadsOfThisProcess()) {
        if (!before.count(id))
            started.insert(id);
    }

    // Just after a tick: the next is two seconds away.
    PostMessageA(parent, WM_APP, 0, 0);
    EXPECT_EQ(host.waitForExit(kLimit), 0u);
    EXPECT_FALSE(IsWindow(parent));
    int ticksAfter = 0;
    for (DWORD waited = 0; !ended && waited < kLimit; waited += 10) {
        PumpFor(10);
        ticksAfter += GuardsSinceLastLook();
    }
    ticksAfter += GuardsSinceLastLook();
    EXPECT_TRUE(ended) << "the preview outlived its parent";
    EXPECT_EQ(ticksAfter, 0) << "ticks after the parent's process ended";
    if (!ended && hostState.saverWindow)
        PostMessageA(hostState.saverWindow, WM_CLOSE, 0, 0);
    preview.join();
    EXPECT_EQ(result, 0);
    // A tick can come only from a thread that still runs.
    for (DWORD id : ThreadsOfThisProcess())
        EXPECT_EQ(started.count(id), 0u) << "thread " << id << " of the preview still runs";
    UnregisterClassA(kSaverClass, GetModuleHandleA(nullptr));
    SetUnhandledExceptionFilter(nullptr);
    fixedSpeed.restore();
    speed.restore();
}

}  // namespace
