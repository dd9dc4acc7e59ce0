// The animation thread: it ticks on its own, a stop while it waits ends it
// without another tick, and a stop during a tick lets that tick finish.
#include <gtest/gtest.h>

#include <windows.h>

#include "display/animation_thread_windows.h"
#include "display/display_state_windows.h"
#include "display/effective_settings.h"
#include "display/saver_world_windows.h"
#include "test_window_windows.h"
#include "world_builder.h"

namespace {

// Counts the painter calls of each tick and can hold the first one up until
// it is released, to stop the thread in the middle of a tick.
class HoldingHooks final : public WorldHooks {
public:
    HoldingHooks() {
        entered = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    }
    ~HoldingHooks() {
        CloseHandle(entered);
        CloseHandle(release);
    }

    void PaintLiveCell(Cell&) override {
        if (hold) {
            SetEvent(entered);
            WaitForSingleObject(release, INFINITE);
        }
        ++paints;
    }
    void PaintDeadCell(Cell&) override { ++paints; }
    void NewWorld() override {}
    void ClearScreen() override {}

    bool hold = false;
    HANDLE entered;
    HANDLE release;
    volatile LONG paints = 0;
};

DWORD WINAPI ReleaseLater(LPVOID event) {
    Sleep(300);
    SetEvent(static_cast<HANDLE>(event));
    return 0;
}

class AnimationThread : public ::testing::Test {
protected:
    void SetUp() override {
        window = TestWindow();
        // One live cell in a 1 x 1 world without the Life rules: every tick
        // paints exactly once, and the world never ends.
        theWorld.rules.lifeRules = false;
        theWorld.rules.generations = 1000000;
        PlantWorld(theWorld, {"#"});
        theWorld.setHooks(hooks);
        effectiveSettings =
            EffectiveSettings{false, false, false, CellSize::Middle, false, SpeciesMode::One, 20, 20, 28};
    }

    void TearDown() override { theWorld.setHooks(saverHooks); }

    // A second handle to the thread, to read its exit code after
    // StopAnimation has closed the first.
    static HANDLE DuplicateThreadHandle() {
        HANDLE copy = nullptr;
        DuplicateHandle(GetCurrentProcess(), displayState.animationThread, GetCurrentProcess(), &copy, 0, FALSE,
                        DUPLICATE_SAME_ACCESS);
        return copy;
    }

    static void ExpectStoppedCleanly(HANDLE thread) {
        EXPECT_EQ(nullptr, displayState.animationThread);
        EXPECT_EQ(nullptr, displayState.wakeEvent);
        EXPECT_EQ(nullptr, displayState.paintDC);
        DWORD code = STILL_ACTIVE;
        EXPECT_TRUE(GetExitCodeThread(thread, &code));
        EXPECT_EQ(0u, code);
        CloseHandle(thread);
    }

    HWND window = nullptr;
    HoldingHooks hooks;
};

}  // namespace

TEST_F(AnimationThread, TicksAtItsOwnPaceUntilStopped) {
    StartAnimation(window);
    ASSERT_NE(nullptr, displayState.animationThread);
    EXPECT_EQ(THREAD_PRIORITY_IDLE, GetThreadPriority(displayState.animationThread));
    for (int wait = 0; wait < 1000 && hooks.paints < 5; ++wait) {
        Sleep(10);
    }
    HANDLE thread = DuplicateThreadHandle();
    StopAnimation();
    EXPECT_GE(hooks.paints, 5);
    ExpectStoppedCleanly(thread);
}

TEST_F(AnimationThread, StopWhileWaitingEndsWithoutAnotherTick) {
    effectiveSettings.tickDelay = 2000;
    StartAnimation(window);
    Sleep(200);  // well into the first wait
    HANDLE thread = DuplicateThreadHandle();
    const DWORD start = GetTickCount();
    StopAnimation();
    const DWORD took = GetTickCount() - start;
    EXPECT_EQ(0, hooks.paints);
    EXPECT_LT(took, 1500u) << "the stop must not wait out the tick delay";
    ExpectStoppedCleanly(thread);
}

TEST_F(AnimationThread, StopDuringATickLetsItFinish) {
    hooks.hold = true;
    StartAnimation(window);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hooks.entered, 10000)) << "no tick began";
    HANDLE thread = DuplicateThreadHandle();

    // Release the tick only once the stop has been signalled.
    HANDLE releaser = CreateThread(nullptr, 0, ReleaseLater, hooks.release, 0, nullptr);
    StopAnimation();
    EXPECT_EQ(1, hooks.paints) << "the held tick finished and no other began";
    ExpectStoppedCleanly(thread);
    WaitForSingleObject(releaser, INFINITE);
    CloseHandle(releaser);
}

TEST_F(AnimationThread, StopWithoutAThreadIsHarmless) {
    EXPECT_EQ(1, StopAnimation());
    EXPECT_EQ(nullptr, displayState.animationThread);
}
