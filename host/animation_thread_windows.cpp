#include "host/animation_thread_windows.h"

int StartAnimation(AnimationThread& animation, AnimationClient& client) {
    animation.client = &client;
    animation.wakeEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    animation.thread = CreateThread(nullptr, 0, AnimationThreadMain, &animation, 0, nullptr);
    if (animation.thread) {
        SetThreadPriority(animation.thread, THREAD_PRIORITY_IDLE);
    }
    return 1;
}

int StopAnimation(AnimationThread& animation) {
    if (animation.thread) {
        // At idle priority a busy desktop could starve the thread and hold
        // up the window's destruction.
        SetThreadPriority(animation.thread, THREAD_PRIORITY_NORMAL);
        SetEvent(animation.wakeEvent);
        WaitForSingleObject(animation.thread, INFINITE);
    }
    if (animation.wakeEvent) {
        CloseHandle(animation.wakeEvent);
        animation.wakeEvent = nullptr;
    }
    if (animation.thread) {
        CloseHandle(animation.thread);
        animation.thread = nullptr;
    }
    return 1;
}

DWORD WINAPI AnimationThreadMain(LPVOID parameter) {
    AnimationThread& animation = *static_cast<AnimationThread*>(parameter);
    while (WaitForSingleObject(animation.wakeEvent, animation.client->tickDelay()) == WAIT_TIMEOUT) {
        animation.client->tick();
    }
    return 0;
}
