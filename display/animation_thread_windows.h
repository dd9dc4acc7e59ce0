// The background thread that paces the ticks. One auto-reset event serves
// as the timer (timed waits on it) and as the stop signal (set once).
#pragma once

#include <windows.h>

// Creates the event and the thread, which waits one tickDelay before its
// first tick and runs at idle priority. Every write the thread will read
// must be done before this call.
int StartAnimation(HWND window);

// Raises the thread to normal priority, signals it and waits for it to end:
// a tick in progress finishes first; a wait in progress ends without one.
// Then closes both handles. Harmless when no thread was started.
int StopAnimation();

DWORD WINAPI AnimationThreadMain(LPVOID window);

// A call made on the ticking thread before every tick; the host keeps its
// fault guard in place with it. Null (the default) calls nothing. Set it
// before the display starts.
void SetTickHook(void (*hook)());

// One generation on the calling thread: take the window's DC, realise the
// sheet palette on it, step the World (which paints), release the DC and
// everything the painting made.
void RunTick(HWND window);
