#include "display/animation_thread_windows.h"

#include "display/display_state_windows.h"
#include "display/effective_settings.h"
#include "display/saver_world_windows.h"

namespace {
void (*tickHook)() = nullptr;
}  // namespace

void SetTickHook(void (*hook)()) { tickHook = hook; }

int StartAnimation(HWND window) {
    displayState.wakeEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    displayState.animationThread = CreateThread(nullptr, 0, AnimationThreadMain, window, 0, nullptr);
    if (displayState.animationThread) {
        SetThreadPriority(displayState.animationThread, THREAD_PRIORITY_IDLE);
    }
    return 1;
}

int StopAnimation() {
    if (displayState.animationThread) {
        // At idle priority a busy desktop could starve the thread and hold
        // up the window's destruction.
        SetThreadPriority(displayState.animationThread, THREAD_PRIORITY_NORMAL);
        SetEvent(displayState.wakeEvent);
        WaitForSingleObject(displayState.animationThread, INFINITE);
    }
    if (displayState.wakeEvent) {
        CloseHandle(displayState.wakeEvent);
        displayState.wakeEvent = nullptr;
    }
    if (displayState.animationThread) {
        CloseHandle(displayState.animationThread);
        displayState.animationThread = nullptr;
    }
    return 1;
}

DWORD WINAPI AnimationThreadMain(LPVOID window) {
    // tickDelay is read afresh each time: a new world may have drawn a new
    // speed during the tick just run.
    while (WaitForSingleObject(displayState.wakeEvent, effectiveSettings.tickDelay) == WAIT_TIMEOUT) {
        RunTick(static_cast<HWND>(window));
    }
    return 0;
}

void RunTick(HWND window) {
    if (tickHook)
        tickHook();
    displayState.paintDC = GetDC(window);
    SelectPalette(displayState.paintDC, displayState.sheetPalette, FALSE);
    RealizePalette(displayState.paintDC);
    windowTarget.beginTick(window);
    theWorld.step();
    windowTarget.endTick();
    ReleaseDC(window, displayState.paintDC);
    displayState.paintDC = nullptr;
}
