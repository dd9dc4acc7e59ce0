// Import slots the program fills itself, for KERNEL32 functions that the
// Windows 95 family has only as failing stubs.
#pragma once

#include <windows.h>

typedef HANDLE(WINAPI* CreateSemaphoreWFn)(LPSECURITY_ATTRIBUTES, LONG, LONG, LPCWSTR);

// `system` (which may be null), or CreateSemaphoreA with the name converted
// to the ANSI code page when it is missing or answers "not implemented".
HANDLE CreateSemaphoreWithFallback(CreateSemaphoreWFn system, LPSECURITY_ATTRIBUTES security, LONG initial,
                                   LONG maximum, LPCWSTR name);
