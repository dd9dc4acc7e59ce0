// The background thread that paces the ticks. One auto-reset event serves
// as the timer (timed waits on it) and as the stop signal (set once).
#pragma once

#include <windows.h>

#include <cstdint>

// What the thread paces: the saver window's display, or a test's stand-in.
class AnimationClient {
public:
    // Read afresh before every wait: a new world may have drawn a new speed
    // during the tick just run.
    virtual uint16_t tickDelay() = 0;
    virtual void tick() = 0;

protected:
    ~AnimationClient() = default;
};

// The thread and its stop event, each empty until started.
struct AnimationThread {
    HANDLE thread = nullptr;
    HANDLE wakeEvent = nullptr;  // auto-reset; signalled once, to stop the thread
    AnimationClient* client = nullptr;
};

// Creates the event and the thread, which waits one tickDelay before its
// first tick and runs at idle priority. Every write the thread will read
// must be done before this call.
int StartAnimation(AnimationThread& animation, AnimationClient& client);

// Raises the thread to normal priority, signals it and waits for it to end:
// a tick in progress finishes first; a wait in progress ends without one.
// Then closes both handles. Harmless when no thread was started.
int StopAnimation(AnimationThread& animation);

// The thread's body; its argument is the AnimationThread.
DWORD WINAPI AnimationThreadMain(LPVOID animation);
