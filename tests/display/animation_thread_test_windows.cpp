// The animation thread: it ticks on its own, a stop while it waits ends it
// without another tick, and a stop during a tick lets that tick finish.
#include <gtest/gtest.h>

#include <windows.h>

#include "host/animation_thread_windows.h"

namespace {

// Counts the ticks and can hold the first one up until it is released, to
// stop the thread in the middle of a tick.
class HoldingClient final : public AnimationClient {
public:
    HoldingClient() {
        entered = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    }
    ~HoldingClient() {
        CloseHandle(entered);
        CloseHandle(release);
    }

    uint16_t tickDelay() override { return delay; }
    void tick() override {
        if (hold) {
            SetEvent(entered);
            WaitForSingleObject(release, INFINITE);
        }
        ++ticks;
    }

    uint16_t delay = 28;
    bool hold = false;
    HANDLE entered;
    HANDLE release;
    volatile LONG ticks = 0;
};

DWORD WINAPI ReleaseLater(LPVOID event) {
    Sleep(300);
    SetEvent(static_cast<HANDLE>(event));
    return 0;
}

class AnimationThreadTest : public ::testing::Test {
protected:
    // A second handle to the thread, to read its exit code after
    // StopAnimation has closed the first.
    HANDLE DuplicateThreadHandle() {
        HANDLE copy = nullptr;
        DuplicateHandle(GetCurrentProcess(), animation.thread, GetCurrentProcess(), &copy, 0, FALSE,
                        DUPLICATE_SAME_ACCESS);
        return copy;
    }

    void ExpectStoppedCleanly(HANDLE thread) {
        EXPECT_EQ(nullptr, animation.thread);
        EXPECT_EQ(nullptr, animation.wakeEvent);
        DWORD code = STILL_ACTIVE;
        EXPECT_TRUE(GetExitCodeThread(thread, &code));
        EXPECT_EQ(0u, code);
        CloseHandle(thread);
    }

    AnimationThread animation;
    HoldingClient client;
};

}  // namespace

TEST_F(AnimationThreadTest, TicksAtItsOwnPaceUntilStopped) {
    StartAnimation(animation, client);
    ASSERT_NE(nullptr, animation.thread);
    EXPECT_EQ(THREAD_PRIORITY_IDLE, GetThreadPriority(animation.thread));
    for (int wait = 0; wait < 1000 && client.ticks < 5; ++wait) {
        Sleep(10);
    }
    HANDLE thread = DuplicateThreadHandle();
    StopAnimation(animation);
    EXPECT_GE(client.ticks, 5);
    ExpectStoppedCleanly(thread);
}

TEST_F(AnimationThreadTest, StopWhileWaitingEndsWithoutAnotherTick) {
    client.delay = 2000;
    StartAnimation(animation, client);
    Sleep(200);  // well into the first wait
    HANDLE thread = DuplicateThreadHandle();
    const DWORD start = GetTickCount();
    StopAnimation(animation);
    const DWORD took = GetTickCount() - start;
    EXPECT_EQ(0, client.ticks);
    EXPECT_LT(took, 1500u) << "the stop must not wait out the tick delay";
    ExpectStoppedCleanly(thread);
}

TEST_F(AnimationThreadTest, StopDuringATickLetsItFinish) {
    client.hold = true;
    StartAnimation(animation, client);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(client.entered, 10000)) << "no tick began";
    HANDLE thread = DuplicateThreadHandle();

    // Release the tick only once the stop has been signalled.
    HANDLE releaser = CreateThread(nullptr, 0, ReleaseLater, client.release, 0, nullptr);
    StopAnimation(animation);
    EXPECT_EQ(1, client.ticks) << "the held tick finished and no other began";
    ExpectStoppedCleanly(thread);
    WaitForSingleObject(releaser, INFINITE);
    CloseHandle(releaser);
}

TEST_F(AnimationThreadTest, StopWithoutAThreadIsHarmless) {
    EXPECT_EQ(1, StopAnimation(animation));
    EXPECT_EQ(nullptr, animation.thread);
}
